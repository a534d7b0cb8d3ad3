#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/protocol/modLumo.h"
#include "core/serial/LineTap.h"
#include "core/serial/MSComm.h"
#include "pty/CpuTime.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompt.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

// The session on COM1, which leads to the slave side of a pseudo-terminal; the test plays the
// display on the master side. The real serial backend does the work.
class PtyLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsValid());
        qputenv("LUMOQ4_COM1", QFile::encodeName(m_pty.SlavePath()));
        m_lumo.setCommPort(1);
        m_lumo.setBaudRate("19200");
        m_lumo.setParity("NONE");
    }
    void TearDown() override {
        if (Comm().PortOpen()) {
            m_lumo.Disconnect();
        }
        qunsetenv("LUMOQ4_COM1");
    }

    static MSComm& Comm() { return frmCLumo::Instance().MSComm1(); }

    // Answers every native frame with i_bReply as soon as its last byte has arrived.
    void AnswerFrames(const QByteArray& i_bReply) {
        m_pty.OnData([this, i_bReply](const QByteArray&) {
            if (m_pty.Received().endsWith('\x17')) {
                m_pty.Write(i_bReply);
            }
        });
    }

    RecordingPrompt m_prompt;
    Pty m_pty;
    CLumo m_lumo;
};

TEST_F(PtyLinkTest, AMessageWrittenJustBeforeTheCloseArrivesWhole) {
    const QString message = "The quick brown fox jumps over the dog.!"; // 40 characters
    ASSERT_EQ(message.size(), 40);
    for (const char* rate : {"19200", "4800"}) {
        SCOPED_TRACE(rate);
        m_lumo.setBaudRate(rate);
        EXPECT_EQ(m_lumo.SendMessage(message), 0);
        EXPECT_FALSE(Comm().PortOpen());
        EXPECT_EQ(m_pty.ReadFor(3000, 40), message.toLatin1());
    }
}

TEST_F(PtyLinkTest, ALongBlockArrivesWholeWhileThePeerReads) {
    QByteArray received;
    std::thread reader([&] { received = m_pty.ReadFor(10000, 3000); });
    EXPECT_EQ(m_lumo.FullyLightTube(3000), 0);
    reader.join();
    EXPECT_EQ(received, QByteArray(3000, '\xB2'));
}

// The far end stops reading: the line takes about 11 kB and then nothing more. The command ends
// within the line time of what was left queued plus 2 s, discards the rest and says -3, and the
// window stays live all the while (a 50 ms timer keeps firing). The bound is long, so the
// replaced clock runs it: each wait step lets a millisecond of real time pass with events
// processed.
TEST_F(PtyLinkTest, AStalledLineEndsTheCommandWithinItsBoundWhileTheWindowStaysLive) {
    FakeClock clock;
    clock.onIdle = [](qint64) {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    };
    int ticks = 0;
    QTimer repaint;
    repaint.setInterval(50);
    QObject::connect(&repaint, &QTimer::timeout, [&ticks] { ++ticks; });
    repaint.start();
    m_lumo.setBaudRate("38400");

    const qint64 before = clock.NowMs();
    EXPECT_EQ(m_lumo.FullyLightTube(30000), -3);
    const qint64 took = clock.NowMs() - before;
    EXPECT_GT(ticks, 0);
    EXPECT_FALSE(Comm().PortOpen());
    EXPECT_GE(took, 2000);
    EXPECT_LE(took, 30000 * 10 * 1000 / 38400 + 2000 + 11); // all 30000 bytes' line time at most

    // Once the far end reads again, nothing of the discarded rest follows the next command.
    const QByteArray taken = m_pty.ReadAvailable();
    EXPECT_EQ(taken, QByteArray(taken.size(), '\xB2'));
    EXPECT_EQ(m_lumo.SendMessage("A"), 0);
    EXPECT_EQ(Hex(m_pty.ReadFor(1000, 1)), "41");
}

TEST_F(PtyLinkTest, AnAckFromThePeerGivesSuccess) {
    AnswerFrames(QByteArray("\x06"));
    EXPECT_EQ(m_lumo.SetInternationalCode(4), 0);
    EXPECT_EQ(Hex(m_pty.Received()), "04 01 49 34 17");
    EXPECT_FALSE(Comm().PortOpen());

    EXPECT_EQ(m_lumo.ClearDisplay(1, 40), 0);
    EXPECT_EQ(Hex(m_pty.Received()), "04 01 49 34 17 04 01 43 31 58 17");
}

TEST_F(PtyLinkTest, ARefusalFromThePeerGivesGetNack) {
    AnswerFrames(QByteArray("\x15"));
    EXPECT_EQ(m_lumo.SaveMessage(1), -6);
    EXPECT_EQ(Hex(m_pty.Received()), "04 01 53 31 17");
}

TEST_F(PtyLinkTest, ASilentPeerGivesNoResponse) {
    EXPECT_EQ(m_lumo.SetInternationalCode(4), -4);
    EXPECT_EQ(Hex(m_pty.ReadAvailable()), "04 01 49 34 17");
    EXPECT_FALSE(Comm().PortOpen());
}

TEST_F(PtyLinkTest, QueriesReadTheWholeReply) {
    m_pty.OnData([this](const QByteArray& chunk) {
        if (chunk.contains('\x54')) {
            m_pty.Write(QByteArray::fromHex("01 48 45 4C 4C 4F 17"));
        }
    });
    QString text;
    EXPECT_EQ(m_lumo.GetMessage(text), 0);
    EXPECT_EQ(text, "HELLO");
}

TEST_F(PtyLinkTest, InBufferCountSeesAWaitingByteWithoutAnEventLoopPass) {
    EXPECT_EQ(m_lumo.InBufferCount(), 0);
    ASSERT_TRUE(Comm().PortOpen());
    m_pty.Write(QByteArray::fromHex("41 42"));
    // No event processing here: only the count itself may look at the line.
    QElapsedTimer timer;
    timer.start();
    int count = 0;
    while ((count = m_lumo.InBufferCount()) < 2 && timer.elapsed() < 3000) {
        ::usleep(5000);
    }
    EXPECT_EQ(count, 2);
    QByteArray data;
    m_lumo.GetCommDataB(data);
    EXPECT_EQ(Hex(data), "41 42");
    EXPECT_TRUE(Comm().PortOpen());
}

TEST_F(PtyLinkTest, SevenBitParityFramingOpensOnAPseudoTerminal) {
    for (const char* parity : {"ODD", "EVEN"}) {
        SCOPED_TRACE(parity);
        m_lumo.setParity(parity);
        EXPECT_EQ(m_lumo.Connect(), 0);
        EXPECT_EQ(Comm().Settings(), QStringLiteral("19200") + m_lumo.Parity());
        EXPECT_EQ(m_lumo.Disconnect(), 0);
        EXPECT_EQ(m_lumo.SendMessageB(0x41), 0);
        EXPECT_EQ(Hex(m_pty.ReadFor(2000, 1)), "41");
    }
}

TEST_F(PtyLinkTest, AMissingDeviceGivesOpenFailedAndNamesThePath) {
    qputenv("LUMOQ4_COM1", "/dev/lumoq4-no-such-port");
    EXPECT_EQ(m_lumo.Connect(), -2);
    const QString reason = frmCLumo::Instance().LastOpenFailure();
    EXPECT_TRUE(reason.contains("/dev/lumoq4-no-such-port")) << reason.toStdString();
    EXPECT_TRUE(reason.contains("No such file")) << reason.toStdString();
    EXPECT_EQ(m_lumo.SetInternationalCode(4), -2);
    EXPECT_EQ(m_lumo.InBufferCount(), 0);
    EXPECT_FALSE(Comm().PortOpen());
}

// The tap's events since i_lFrom, one line each: "open /dev/pts/3 19200n,8,1", "write 04 01".
QStringList TapSince(quint64 i_lFrom) {
    const LineTap& tap = LineTap::Shared();
    QStringList lines;
    for (quint64 n = i_lFrom; n < tap.NextNumber(); ++n) {
        const TapEvent& e = tap.At(n);
        switch (e.kind) {
        case TapEvent::Kind::Written:
            lines << QStringLiteral("write ") + QString::fromLatin1(e.data.toHex(' ').toUpper());
            break;
        case TapEvent::Kind::Read:
            lines << QStringLiteral("read ") + QString::fromLatin1(e.data.toHex(' ').toUpper());
            break;
        case TapEvent::Kind::Opened:
            lines << QStringLiteral("open ") + e.Path() + QLatin1Char(' ') + e.Settings();
            break;
        case TapEvent::Kind::OpenFailed:
            lines << QStringLiteral("failed ") + e.Reason();
            break;
        case TapEvent::Kind::Closed:
            lines << QStringLiteral("close") + e.Reason();
            break;
        case TapEvent::Kind::Context:
            lines << QStringLiteral("context %1").arg(static_cast<int>(e.context));
            break;
        }
    }
    return lines;
}

TEST_F(PtyLinkTest, TheTapRecordsEachOpenTheBytesBothWaysAndEachCloseOrFailedOpen) {
    AnswerFrames(QByteArray("\x06"));
    const quint64 from = LineTap::Shared().NextNumber();
    EXPECT_EQ(m_lumo.SetInternationalCode(4), 0);
    qputenv("LUMOQ4_COM1", "/dev/lumoq4-no-such-port");
    EXPECT_EQ(m_lumo.SendMessage(QStringLiteral("HI")), -2);
    EXPECT_EQ(
        TapSince(from),
        QStringList({QStringLiteral("context 0"),
                     QStringLiteral("open ") + m_pty.SlavePath() + QStringLiteral(" 19200n,8,1"),
                     QStringLiteral("write 04 01 49 34 17"), QStringLiteral("read 06"),
                     QStringLiteral("close"), QStringLiteral("context 0"),
                     QStringLiteral("failed /dev/lumoq4-no-such-port: No such file or "
                                    "directory")}));
}

TEST_F(PtyLinkTest, APeerThatHangsUpMidCommandLeavesThePortClosedAndTheProcessIdle) {
    m_pty.OnData([this](const QByteArray&) { m_pty.HangUp(); });
    const int status = m_lumo.SetInternationalCode(4);
    EXPECT_TRUE(status == -3 || status == -4) << status;
    EXPECT_FALSE(Comm().PortOpen());

    const double before = ProcessCpuSeconds();
    modLumo::WaitMilliseconds(1000);
    EXPECT_LT(ProcessCpuSeconds() - before, 0.5);
}

TEST_F(PtyLinkTest, APeerThatHangsUpWhileThePortIsLeftOpenDoesNotMakeItSpin) {
    EXPECT_EQ(m_lumo.InBufferCount(), 0);
    ASSERT_TRUE(Comm().PortOpen());
    m_pty.HangUp();

    const double before = ProcessCpuSeconds();
    modLumo::WaitMilliseconds(1000);
    EXPECT_LT(ProcessCpuSeconds() - before, 0.5);
    EXPECT_FALSE(Comm().PortOpen());
    // The next command opens the port afresh instead of writing into the dead handle. The pty's
    // number may already belong to another test's pty, so it is pointed at a path that cannot.
    qputenv("LUMOQ4_COM1", "/dev/lumoq4-no-such-port");
    EXPECT_EQ(m_lumo.SendMessageB_VT100(0x41), -2);
}

} // namespace
