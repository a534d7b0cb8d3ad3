// The order Find Display tries line settings and devices in, and its first pass's waits.
#include "ports/ScanPlan.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kRates{QStringLiteral("38400"), QStringLiteral("19200"), QStringLiteral("9600"),
                         QStringLiteral("4800"),  QStringLiteral("2400"),  QStringLiteral("1200"),
                         QStringLiteral("600")};
const QStringList kParities{QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN")};

QStringList texts(const QList<ScanSetting>& i_settings) {
    QStringList out;
    for (const ScanSetting& s : i_settings) {
        out << s.baudRate + QLatin1Char(' ') + s.parity;
    }
    return out;
}

TEST(ScanPlan, TheCurrentPairComesFirstThen19200_9600_38400AndTheRest) {
    const QList<ScanSetting> settings =
        ScanPlan::Settings(kRates, kParities, {QStringLiteral("4800"), QStringLiteral("EVEN")});
    EXPECT_EQ(
        texts(settings),
        QStringList({"4800 EVEN", "4800 NONE", "4800 ODD", "19200 EVEN", "19200 NONE", "19200 ODD",
                     "9600 EVEN", "9600 NONE", "9600 ODD", "38400 EVEN", "38400 NONE", "38400 ODD",
                     "2400 EVEN", "2400 NONE", "2400 ODD", "1200 EVEN",  "1200 NONE",  "1200 ODD",
                     "600 EVEN",  "600 NONE",  "600 ODD"}));
}

TEST(ScanPlan, AtTheFirstStartThe21SettingsBeginWith38400None) {
    const QList<ScanSetting> settings =
        ScanPlan::Settings(kRates, kParities, {QStringLiteral("38400"), QStringLiteral("NONE")});
    ASSERT_EQ(settings.size(), 21);
    EXPECT_EQ(texts(settings.mid(0, 7)),
              QStringList({"38400 NONE", "38400 ODD", "38400 EVEN", "19200 NONE", "19200 ODD",
                           "19200 EVEN", "9600 NONE"}));
}

TEST(ScanPlan, TheFirstPassWaitsForTheReplyOnTheLineAndAMargin) {
    EXPECT_EQ(ScanPlan::FirstPassWaitMs(QStringLiteral("38400")), 106);
    EXPECT_EQ(ScanPlan::FirstPassWaitMs(QStringLiteral("9600")), 121);
    EXPECT_EQ(ScanPlan::FirstPassWaitMs(QStringLiteral("600")), 434);
    EXPECT_EQ(ScanPlan::FirstPassSettleMs(QStringLiteral("600")), 287);
}

TEST(ScanPlan, TheSelectedDeviceComesFirstAndALinkToAListedOneIsTriedOnce) {
    QTemporaryDir folder;
    FixedDeviceSource source(folder.path());
    Pty first;
    Pty second;
    SerialDevice a;
    a.path = first.SlavePath();
    SerialDevice b;
    b.path = second.SlavePath();
    const QString link = source.Link(QStringLiteral("usb-display"), second.SlavePath());

    const SerialDeviceList candidates = ScanPlan::Candidates(link, {a, b});
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_EQ(candidates[0].path, second.SlavePath());
    EXPECT_EQ(candidates[1].path, first.SlavePath());

    const QString missing = folder.filePath(QStringLiteral("ttyUSB7"));
    const SerialDeviceList withMissing = ScanPlan::Candidates(missing, {a});
    ASSERT_EQ(withMissing.size(), 2);
    EXPECT_EQ(withMissing[0].path, missing);
    EXPECT_EQ(withMissing[0].state, SerialDevice::State::Absent);
}

} // namespace
