// The sender against lrzsz rx, an XModem receiver written elsewhere, over pseudo-terminals and
// the real serial backend. The test relays the line to rx up to and including EOT, and keeps
// the closing command (which rx would take for line noise) to check it itself. Real clock.
#include "core/device/CLumo.h"
#include "support/FakeComm.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Cuts the sender's stream into blocks so that EOT is recognised only between blocks.
class LineRelay {
public:
    LineRelay(Pty& i_line, Pty& i_rx, int i_iTrailer) : m_iBlockSize(3 + 128 + i_iTrailer) {
        i_line.OnData([this, &i_rx](const QByteArray& chunk) {
            for (const char c : chunk) {
                if (m_blnAfterEot) {
                    closing.append(c);
                } else if (m_iInBlock > 0) {
                    i_rx.Write(QByteArray(1, c));
                    --m_iInBlock;
                } else if (c == '\x01') {
                    i_rx.Write(QByteArray(1, c));
                    m_iInBlock = m_iBlockSize - 1;
                } else {
                    i_rx.Write(QByteArray(1, c));
                    m_blnAfterEot = c == '\x04';
                }
            }
        });
        i_rx.OnData([&i_line](const QByteArray& chunk) { i_line.Write(chunk); });
    }

    QByteArray closing;

private:
    int m_iBlockSize;
    int m_iInBlock = 0;
    bool m_blnAfterEot = false;
};

QByteArray Content(int i_iSize) {
    QByteArray bytes;
    for (int i = 0; i < i_iSize; ++i) {
        bytes.append(static_cast<char>((i * 31 + i / 256) % 256));
    }
    return bytes;
}

struct PeerCase {
    int size;
    int checkSumType;
};

class RxPeer : public ::testing::TestWithParam<PeerCase> {};

TEST_P(RxPeer, ReceivedFileIsTheSentOnePadded) {
    if (QStandardPaths::findExecutable("rx").isEmpty()) {
        GTEST_SKIP() << "lrzsz rx is not installed";
    }
    const PeerCase c = GetParam();
    QTemporaryDir work;
    const QByteArray content = Content(c.size);
    const QString source = work.filePath("image.bin");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    Pty line;
    Pty rxLine;
    ASSERT_TRUE(line.IsValid() && rxLine.IsValid());
    qputenv("LUMOQ4_COM1", line.SlavePath().toLocal8Bit());
    LineRelay relay(line, rxLine, c.checkSumType == 1 ? 2 : 1);

    QProcess rx;
    rx.setWorkingDirectory(work.path());
    rx.setStandardInputFile(rxLine.SlavePath());
    rx.setStandardOutputFile(rxLine.SlavePath());
    QStringList args{"-q", "-b"};
    if (c.checkSumType == 1) {
        args << "-c";
    }
    args << "received.bin";
    rx.start("rx", args);
    ASSERT_TRUE(rx.waitForStarted(5000));

    CLumo lumo;
    lumo.setCommPort(1);
    lumo.setBaudRate("19200");
    lumo.setParity("NONE");
    ASSERT_EQ(lumo.Connect(), 0);
    lumo.setCheckSumType(c.checkSumType);
    lumo.setFile(source);
    lumo.setUpdateFirmwareFinish(false);
    lumo.StartSendFile();

    QElapsedTimer timer;
    timer.start();
    while (!lumo.UpdateFirmwareFinish() && timer.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_TRUE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.LastTransferOutcome().end, XModemOutcome::End::Complete);
    timer.restart(); // the last bytes may still be on their way through the pty
    while (relay.closing.size() < 3 && timer.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(Hex(relay.closing), "1B 52 0D");

    timer.restart();
    while (rx.state() != QProcess::NotRunning && timer.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(rx.exitCode(), 0) << rx.readAllStandardError().toStdString();
    lumo.Disconnect();

    QByteArray expected = content;
    if (expected.size() % 128 != 0) {
        expected.append(QByteArray(128 - expected.size() % 128, '\x1A'));
    }
    QFile received(work.filePath("received.bin"));
    if (c.size == 0 && !received.exists()) {
        return; // nothing to store: rx creates the file with its first block
    }
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    const QByteArray got = received.readAll();
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
}

INSTANTIATE_TEST_SUITE_P(BothTrailers, RxPeer,
                         ::testing::Values(PeerCase{0, 1}, PeerCase{3, 1}, PeerCase{128, 1},
                                           PeerCase{1000, 1}, PeerCase{40000, 1}, PeerCase{0, 0},
                                           PeerCase{3, 0}, PeerCase{128, 0}, PeerCase{1000, 0},
                                           PeerCase{40000, 0}),
                         [](const ::testing::TestParamInfo<PeerCase>& i_case) {
                             return QStringLiteral("%1_bytes_%2")
                                 .arg(i_case.param.size)
                                 .arg(i_case.param.checkSumType == 1 ? "crc" : "checksum")
                                 .toStdString();
                         });

} // namespace
