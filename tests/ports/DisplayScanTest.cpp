// The Find Display scan over a scripted line with the replaced clock: what goes on the line at
// each setting, what counts as a display's answer, which devices are left out, and a cancel.
#include "core/scan/DisplayScan.h"
#include "core/scan/ScanPlan.h"
#include "core/settings/SelectionLists.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class Observer : public ScanObserver {
public:
    void Trying(const ScanStep& i_step) override {
        steps.push_back(i_step);
        times.push_back(modLumo::Clock().NowMs());
    }
    bool Cancelled() override { return cancelled; }

    std::vector<ScanStep> steps;
    std::vector<qint64> times; // by the replaced clock, at each step
    bool cancelled = false;
};

class Scan : public ::testing::Test {
protected:
    Scan() : m_source(m_folder.path()), m_display(FixedDeviceSource::At(m_pty.SlavePath())) {
        m_settings = ScanPlan::Settings(SelectionLists::BaudRates(), SelectionLists::Parities(),
                                        {QStringLiteral("38400"), QStringLiteral("NONE")});
    }

    // The display answers the version query with i_bReply when the line is at i_sSettings.
    void AnswerAt(const QString& i_sSettings, const QByteArray& i_bReply) {
        m_line.onOutput = [i_sSettings, i_bReply](FakeComm& comm, const QByteArray&) {
            if (comm.Settings() == i_sSettings) {
                comm.Queue(i_bReply, 5);
            }
        };
    }

    ScanOutcome Run(const SerialDeviceList& i_candidates) {
        DisplayScan scan(m_line, m_observer, 1);
        return scan.Run(i_candidates, m_settings);
    }

    QTemporaryDir m_folder;
    FixedDeviceSource m_source;
    FakeClock m_clock;
    FakeComm m_line;
    Observer m_observer;
    Pty m_pty;
    SerialDevice m_display;
    QList<ScanSetting> m_settings;
};

TEST_F(Scan, ASilentDeviceGetsAShortFirstPassThenTheQuerysOwnWait) {
    const ScanOutcome outcome = Run({m_display});

    EXPECT_EQ(outcome.result, ScanOutcome::Result::NotFound);
    EXPECT_EQ(m_line.opens, 42);
    ASSERT_EQ(m_observer.steps.size(), 42u);
    EXPECT_EQ(m_observer.steps[21].pass, 2);
    // The first pass: 4095 ms of waits in all (106 ms at 38400 baud .. 434 ms at 600, three
    // parities each), and every wait ends one tick after its time.
    EXPECT_EQ(m_observer.times[21] - m_observer.times[0], 4095 + 21);
    EXPECT_EQ(m_observer.times[1] - m_observer.times[0], 106 + 1);
    // The second: the version query's 11 polls of 100 ms at every setting.
    EXPECT_EQ(m_clock.NowMs() - m_observer.times[21], 21 * (1100 + 1));
    EXPECT_EQ(outcome.Summary(),
              QStringLiteral("No display found on %1 (21 settings, 2 passes). Check the cable and "
                             "the power; a display in VT100 mode or in its loader does not answer.")
                  .arg(m_pty.SlavePath()));
}

TEST(ScanReply, OnlyAWellFormedVersionReplyCounts) {
    QString version;
    EXPECT_TRUE(DisplayScan::WellFormedVersion("V1.07", version));
    EXPECT_EQ(version, "V1.07");
    EXPECT_TRUE(DisplayScan::WellFormedVersion(QByteArray("\x01V2.10\x17"), version));
    EXPECT_EQ(version, "V2.10");
    EXPECT_FALSE(DisplayScan::WellFormedVersion("V1.", version));  // fewer than 4 bytes
    EXPECT_FALSE(DisplayScan::WellFormedVersion("LUMO", version)); // no number in it
    EXPECT_FALSE(DisplayScan::WellFormedVersion(QByteArray("\xC3\xA1\x9E\xF0\x80", 5), version));
}

TEST_F(Scan, BusyConsoleAndMissingDevicesAreLeftOutWithTheirReason) {
    Pty busy;
    Pty console;
    m_source.Lock(busy.SlavePath(), ::getpid());
    m_source.MakeConsole(console.SlavePath());
    const QString missing = m_folder.filePath(QStringLiteral("ttyUSB3"));
    AnswerAt(QStringLiteral("38400n,8,1"), QByteArray("V1.07"));

    const ScanOutcome outcome =
        Run({FixedDeviceSource::At(busy.SlavePath()), FixedDeviceSource::At(console.SlavePath()),
             FixedDeviceSource::At(missing), m_display});
    EXPECT_EQ(outcome.result, ScanOutcome::Result::Found);
    EXPECT_EQ(outcome.path, m_pty.SlavePath());
    EXPECT_EQ(
        outcome.skipped,
        QStringList({QStringLiteral("%1: busy (process %2)").arg(busy.SlavePath()).arg(::getpid()),
                     console.SlavePath() + QStringLiteral(": system console"),
                     missing + QStringLiteral(": not present")}));
    EXPECT_EQ(m_line.journal.filter(QStringLiteral("open")),
              QStringList({"open " + m_pty.SlavePath() + " 38400n,8,1"}));
}

TEST_F(Scan, ACancelDuringAWaitEndsTheScanWithTheLineClosed) {
    m_clock.onIdle = [this](qint64) {
        if (m_clock.Idles() == 3) {
            m_observer.cancelled = true;
        }
    };
    const ScanOutcome outcome = Run({m_display});
    EXPECT_EQ(outcome.result, ScanOutcome::Result::Cancelled);
    EXPECT_EQ(outcome.Summary(), "Find Display cancelled.");
    EXPECT_EQ(m_line.journal, QStringList({"open " + m_pty.SlavePath() + " 38400n,8,1",
                                           "write 04 01 56 17", "close"}));
    EXPECT_FALSE(m_line.PortOpen());
    // The wait ended at the cancel: three steps of the 20 ms poll.
    EXPECT_EQ(m_clock.Idles(), 3);
}

} // namespace
