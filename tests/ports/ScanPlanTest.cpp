// The order Find Display tries line settings and devices in, and its first pass's waits.
#include "core/scan/ScanPlan.h"
#include "core/settings/SelectionLists.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList texts(const QList<ScanSetting>& i_settings) {
    QStringList out;
    for (const ScanSetting& s : i_settings) {
        out << s.baudRate + QLatin1Char(' ') + s.parity;
    }
    return out;
}

TEST(ScanPlan, TheCurrentPairComesFirstThen19200_9600_38400AndTheRest) {
    const QList<ScanSetting> settings =
        ScanPlan::Settings(SelectionLists::BaudRates(), SelectionLists::Parities(),
                           {QStringLiteral("4800"), QStringLiteral("EVEN")});
    EXPECT_EQ(
        texts(settings),
        QStringList({"4800 EVEN", "4800 NONE", "4800 ODD", "19200 EVEN", "19200 NONE", "19200 ODD",
                     "9600 EVEN", "9600 NONE", "9600 ODD", "38400 EVEN", "38400 NONE", "38400 ODD",
                     "2400 EVEN", "2400 NONE", "2400 ODD", "1200 EVEN",  "1200 NONE",  "1200 ODD",
                     "600 EVEN",  "600 NONE",  "600 ODD"}));
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
    const SerialDevice a = FixedDeviceSource::At(first.SlavePath());
    const SerialDevice b = FixedDeviceSource::At(second.SlavePath());
    const QString link = source.Link(QStringLiteral("usb-display"), second.SlavePath());

    const SerialDeviceList candidates = ScanPlan::Candidates(link, {a, b}, true);
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_EQ(candidates[0].path, second.SlavePath());
    EXPECT_EQ(candidates[1].path, first.SlavePath());

    const QString missing = folder.filePath(QStringLiteral("ttyUSB7"));
    const SerialDeviceList withMissing = ScanPlan::Candidates(missing, {a}, true);
    ASSERT_EQ(withMissing.size(), 2);
    EXPECT_EQ(withMissing[0].path, missing);
    EXPECT_EQ(withMissing[0].state, SerialDevice::State::Absent);
}

TEST(ScanPlan, OnlyTheSelectedDeviceIsWrittenToUnlessTheOthersAreChosen) {
    Pty selected;
    Pty printer;
    Pty scale;
    const SerialDeviceList devices = {FixedDeviceSource::At(printer.SlavePath()),
                                      FixedDeviceSource::At(selected.SlavePath()),
                                      FixedDeviceSource::At(scale.SlavePath())};
    const auto paths = [](const SerialDeviceList& i_list) {
        QStringList out;
        for (const SerialDevice& device : i_list) {
            out << device.path;
        }
        return out;
    };
    EXPECT_EQ(paths(ScanPlan::Candidates(selected.SlavePath(), devices, false)),
              QStringList({selected.SlavePath()}));
    EXPECT_EQ(paths(ScanPlan::Candidates(selected.SlavePath(), devices, true)),
              QStringList({selected.SlavePath(), printer.SlavePath(), scale.SlavePath()}));
    // No port selected: nothing is written to unless the technician asks for every device.
    EXPECT_TRUE(ScanPlan::Candidates(QString(), devices, false).isEmpty());
}

} // namespace
