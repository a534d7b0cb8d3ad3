#include "PtyDisplay.h"
#include "Bytes.h"
#include "pty/PtyPair.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

namespace {
// The program's side of the line: the slave path opened as a serial port would open it.
class Line {
public:
    explicit Line(const QString& i_sPath) {
        m_iFd = ::open(i_sPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_iFd >= 0) {
            PtyPair::MakeRaw(m_iFd);
        }
    }
    ~Line() {
        if (m_iFd >= 0) {
            ::close(m_iFd);
        }
    }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    bool IsOpen() const { return m_iFd >= 0; }
    // The speed a serial port opened at i_speed sets on the line.
    void SetSpeed(speed_t i_speed) const {
        termios t{};
        ASSERT_EQ(::tcgetattr(m_iFd, &t), 0);
        ::cfsetspeed(&t, i_speed);
        ASSERT_EQ(::tcsetattr(m_iFd, TCSANOW, &t), 0);
    }
    // The display holds the line until it has seen the line's settings: a write waits for
    // that with the event loop running, as a serial port's queue does.
    void Write(const QByteArray& i_bBytes) const {
        QElapsedTimer timer;
        timer.start();
        const auto size = static_cast<size_t>(i_bBytes.size());
        ssize_t written = ::write(m_iFd, i_bBytes.constData(), size);
        while (written < 0 && errno == EAGAIN && timer.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            written = ::write(m_iFd, i_bBytes.constData(), size);
        }
        ASSERT_EQ(written, i_bBytes.size());
    }
    // Runs the event loop (where the display answers) and collects what arrives, until
    // i_iCount bytes are there or i_iMs milliseconds have passed.
    QByteArray Read(int i_iCount, int i_iMs = 3000) {
        QElapsedTimer timer;
        timer.start();
        while (m_bPending.size() < i_iCount && timer.elapsed() < i_iMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            char buffer[512];
            const ssize_t n = ::read(m_iFd, buffer, sizeof buffer);
            if (n > 0) {
                m_bPending.append(buffer, n);
            } else {
                ::usleep(2000);
            }
        }
        const QByteArray out = m_bPending.left(i_iCount);
        m_bPending.remove(0, out.size());
        return out;
    }

private:
    int m_iFd = -1;
    QByteArray m_bPending;
};

void runEventsUntil(const std::function<bool()>& i_done, int i_iMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!i_done() && timer.elapsed() < i_iMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ::usleep(2000);
    }
}
} // namespace

TEST(PtyDisplay, AnswersAFrameWrittenOnTheSlave) {
    PtyDisplay display;
    ASSERT_TRUE(display.IsOpen());
    EXPECT_TRUE(display.SlavePath().startsWith("/dev/pts/"));
    Line line(display.SlavePath());
    ASSERT_TRUE(line.IsOpen());
    QSignalSpy changed(&display, &PtyDisplay::ScreenChanged);
    line.Write(H("04 01 49 34 17"));
    EXPECT_EQ(line.Read(1), H("06"));
    EXPECT_EQ(display.Emulator().State().internationalSet, 4);
    EXPECT_GE(changed.count(), 1);
    line.Write("HI");
    line.Write(H("04 01 54 17"));
    EXPECT_EQ(line.Read(42), H("01 48 49") + Spaces(38) + H("17"));
    EXPECT_EQ(display.Received(), H("04 01 49 34 17 48 49 04 01 54 17"));
}

TEST(PtyDisplay, SilentNeverAnswersButStillShows) {
    PtyDisplayOptions options;
    options.silent = true;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.Write(H("41 04 01 56 17"));
    EXPECT_TRUE(line.Read(1, 300).isEmpty());
    EXPECT_EQ(display.Emulator().Cells()[0], 'A');
    EXPECT_TRUE(display.Sent().isEmpty());
}

TEST(PtyDisplay, NakModeRefuses) {
    PtyDisplayOptions options;
    options.emulator.refuseAllFrames = true;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.Write(H("04 01 49 34 17"));
    EXPECT_EQ(line.Read(1), H("15"));
}

TEST(PtyDisplay, DelayedAnswerComesAfterTheBytesWereTaken) {
    PtyDisplayOptions options;
    options.delayMs = 150;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.Write(H("04 01 49 34 17"));
    runEventsUntil([&] { return display.Received().size() == 5; });
    ASSERT_EQ(display.Received().size(), 5);
    EXPECT_TRUE(display.Sent().isEmpty());
    EXPECT_EQ(line.Read(1), H("06"));
}

TEST(PtyDisplay, NoiseFollowsAnswersAndRepeatsWithTheSeed) {
    const auto noiseAfterAck = [](quint32 i_iSeed) {
        PtyDisplayOptions options;
        options.noise = true;
        options.noiseSeed = i_iSeed;
        options.noiseDelayMs = 20;
        PtyDisplay display(options);
        Line line(display.SlavePath());
        line.Write(H("04 01 49 34 17"));
        EXPECT_EQ(line.Read(1), H("06"));
        runEventsUntil([&] { return display.Sent().size() > 1; });
        return display.Sent().mid(1);
    };
    const QByteArray first = noiseAfterAck(7);
    EXPECT_GE(first.size(), 1);
    EXPECT_LE(first.size(), 4);
    EXPECT_EQ(noiseAfterAck(7), first);
}

TEST(PtyDisplay, HangsUpAfterTheGivenNumberOfBytes) {
    PtyDisplayOptions options;
    options.hangupAfter = 3;
    PtyDisplay display(options);
    QSignalSpy closed(&display, &PtyDisplay::LineClosed);
    Line line(display.SlavePath());
    line.Write(H("04 01 49 34 17"));
    runEventsUntil([&] { return display.HungUp(); });
    EXPECT_TRUE(display.HungUp());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(display.Received(), H("04 01 49"));
    EXPECT_TRUE(display.Sent().isEmpty());
}

TEST(PtyDisplay, LoaderRepeatsItsStartRequest) {
    PtyDisplayOptions options;
    options.pollIntervalMs = 30;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.Write(H("1B 4C 6F 61 64"));
    EXPECT_TRUE(line.Read(18).endsWith('>'));
    line.Write(H("58 41 0D"));
    EXPECT_TRUE(line.Read(17).endsWith('>'));
    line.Write(H("50 58 0D 0A"));
    EXPECT_EQ(line.Read(3), H("43 43 43"));
}

// lrzsz's sx, an XModem sender nobody here wrote, sends a file to the loader.
TEST(PtyDisplay, ReceivesAnImageFromAnIndependentSender) {
    if (QStandardPaths::findExecutable(QStringLiteral("sx")).isEmpty()) {
        GTEST_SKIP() << "sx (lrzsz) is not installed";
    }
    for (const bool crc : {true, false}) {
        PtyDisplayOptions options;
        options.emulator.crc = crc;
        PtyDisplay display(options);
        Line line(display.SlavePath());
        line.Write(H("1B 4C 6F 61 64"));
        line.Read(18);
        line.Write(H("58 41 0D"));
        line.Read(17);
        line.Write(H("50 58 0D 0A"));
        line.Read(1);

        QTemporaryDir dir;
        QByteArray image;
        for (int i = 0; i < 1000; ++i) {
            image += static_cast<char>((i * 7 + 3) & 0xFF);
        }
        QFile file(dir.filePath(QStringLiteral("image.bin")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(image);
        file.close();

        QProcess sender;
        sender.setStandardInputFile(display.SlavePath());
        sender.setStandardOutputFile(display.SlavePath());
        sender.setWorkingDirectory(dir.path());
        sender.start(QStringLiteral("sx"), {QStringLiteral("-q"), QStringLiteral("image.bin")});
        ASSERT_TRUE(sender.waitForStarted());
        runEventsUntil([&] { return sender.state() == QProcess::NotRunning; }, 60000);
        EXPECT_EQ(sender.exitCode(), 0) << (crc ? "CRC" : "checksum");
        EXPECT_TRUE(display.Emulator().ImageComplete());
        // 1000 bytes fill 8 blocks; the sender pads the last with 0x1A.
        EXPECT_EQ(display.Emulator().ReceivedImage(), image + QByteArray(1024 - 1000, '\x1A'));
    }
}

TEST(PtyDisplay, AtAnotherSpeedThanTheProgramsItHearsGarbleAndAnswersNothing) {
    PtyDisplayOptions options;
    options.lineSpeed = 9600;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.SetSpeed(B38400);
    line.Write(H("04 01 56 17"));
    EXPECT_TRUE(line.Read(1, 300).isEmpty());
    EXPECT_EQ(display.Received(), H("04 01 56 17"));
    EXPECT_EQ(display.Emulator().ReceivedBytes(), H("EF 80 C9 AE"));
    line.SetSpeed(B9600);
    line.Write(H("04 01 56 17"));
    EXPECT_EQ(line.Read(5), "V1.07");
}

TEST(PtyDisplay, TheBaudRateCommandIsAcknowledgedAtTheOldSpeedThenTheNewOneHolds) {
    PtyDisplayOptions options;
    options.lineSpeed = 38400;
    PtyDisplay display(options);
    Line line(display.SlavePath());
    line.SetSpeed(B38400);
    line.Write(H("04 01 42 31 4E 17")); // 9600 baud, no parity
    EXPECT_EQ(line.Read(1), H("06"));
    EXPECT_EQ(display.LineSpeed(), 9600);
    line.Write(H("04 01 56 17"));
    EXPECT_TRUE(line.Read(1, 300).isEmpty());
    line.SetSpeed(B9600);
    line.Write(H("04 01 56 17"));
    EXPECT_EQ(line.Read(5), "V1.07");
}
