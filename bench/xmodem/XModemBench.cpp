// Times sending a 16 KiB file to a peer on a pseudo-terminal that asks with "C" and
// acknowledges every block at once, and sets the time against the pacing floor: more than
// 120 ms per block (a 20 ms and a 100 ms wait) plus the end sequence's 100 + 500 + 100 + 100 ms.
// Prints figures; never fails on time.
#include "device/CLumo.h"
#include "pty/CpuTime.h"
#include "pty/PtyPair.h"
#include "support/BenchFigures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFileSize = 16 * 1024;
constexpr int kBlockBytes = 3 + 128 + 2;
constexpr int kRuns = 2;

// The receiving side: counts block bytes and acknowledges each complete block and the EOT.
struct Peer {
    PtyPair* line = nullptr;
    int inBlock = 0;
    int blocks = 0;
    qint64 firstByteMs = -1;
    qint64 eotMs = -1;
    QElapsedTimer* clock = nullptr;

    void Take(const QByteArray& i_bBytes) {
        for (const char c : i_bBytes) {
            if (inBlock > 0) {
                if (--inBlock == 0) {
                    ++blocks;
                    Answer('\x06');
                }
            } else if (c == '\x01') {
                if (firstByteMs < 0) {
                    firstByteMs = clock->elapsed();
                }
                inBlock = kBlockBytes - 1;
            } else if (c == '\x04' && eotMs < 0) {
                eotMs = clock->elapsed();
                Answer('\x06');
            }
        }
    }

    void Answer(char i_cByte) const {
        if (line->Write(QByteArray(1, i_cByte)) != 1) {
            std::perror("peer write");
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PtyPair line;
    if (!line.IsOpen()) {
        std::perror("openpty");
        return 1;
    }
    qputenv("LUMOQ4_COM1", line.SlavePath().toLocal8Bit());

    QTemporaryDir dir;
    const QString path = dir.filePath("image.bin");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return 1;
        }
        QByteArray content(kFileSize, '\0');
        for (int i = 0; i < kFileSize; ++i) {
            content[i] = static_cast<char>(i % 253);
        }
        file.write(content);
    }

    const int blocks = (kFileSize + 127) / 128;
    const double floorMs = blocks * 120.0 + 100 + 500 + 100 + 100;
    std::printf("XModem-CRC, %d bytes = %d blocks, peer acknowledges at once\n", kFileSize, blocks);
    std::printf("pacing floor: %d x 120 ms + 800 ms = %.0f ms\n", blocks, floorMs);

    CLumo lumo;
    lumo.setCommPort(1);
    lumo.setBaudRate("19200");
    lumo.setParity("NONE");
    if (lumo.Connect() != 0) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(line.SlavePath()));
        return 1;
    }
    double slowestMs = 0;
    bool allComplete = true;
    for (int run = 1; run <= kRuns; ++run) {
        QElapsedTimer clock;
        Peer peer;
        peer.line = &line;
        peer.clock = &clock;
        QSocketNotifier notifier(line.MasterFd(), QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated,
                         [&peer, &line] { peer.Take(line.ReadAvailable()); });

        lumo.setCheckSumType(1);
        lumo.setFile(path);
        lumo.setUpdateFirmwareFinish(false);
        const double cpuBefore = ProcessCpuSeconds();
        clock.start();
        peer.Answer('C');
        lumo.StartSendFile();
        while (!lumo.UpdateFirmwareFinish() && clock.elapsed() < 120000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        const qint64 finishMs = clock.elapsed();
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        // let the closing command arrive so that it does not count for the next run
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        const double sendingMs = static_cast<double>(finishMs - peer.firstByteMs);
        slowestMs = std::max(slowestMs, sendingMs);
        allComplete = allComplete && peer.blocks == blocks &&
                      lumo.LastTransferOutcome().end == XModemOutcome::End::Complete;
        std::printf("run %d: %d blocks acknowledged, outcome %s\n", run, peer.blocks,
                    qPrintable(lumo.LastTransferOutcome().Text()));
        std::printf("  start to first block byte: %lld ms (start timer 200 ms + one 100 ms poll)\n",
                    static_cast<long long>(peer.firstByteMs));
        std::printf("  first block byte to finish: %.0f ms = floor + %.1f%% (%.1f ms per block "
                    "before EOT)\n",
                    sendingMs, (sendingMs / floorMs - 1.0) * 100.0,
                    static_cast<double>(peer.eotMs - peer.firstByteMs - 100) / blocks);
        std::printf("  CPU: %.2f s over %.1f s (%.1f%%)\n", cpu, finishMs / 1000.0,
                    cpu * 100000.0 / static_cast<double>(finishMs));
    }
    std::printf(
        "| 16 KiB firmware image (%d CRC blocks) to a peer answering at once, slower of %d | "
        "%.2f s, floor + %.1f %% (floor %.2f s: %d x 120 ms + the 0.8 s end sequence)%s | "
        "within 3 %% of the floor |\n",
        blocks, kRuns, slowestMs / 1000.0, (slowestMs / floorMs - 1.0) * 100.0, floorMs / 1000.0,
        blocks, allComplete ? "" : ", NOT COMPLETE");
    lumo.Disconnect();
    return 0;
}
