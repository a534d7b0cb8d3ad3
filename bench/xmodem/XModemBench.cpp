// Times sending a 16 KiB file to a peer on a pseudo-terminal that asks with "C" and
// acknowledges every block at once, and sets the time against the pacing floor: more than
// 120 ms per block (a 20 ms and a 100 ms wait) plus the end sequence's 100 + 500 + 100 + 100 ms.
// Prints figures; never fails on time.
#include "FirmwareRun.h"
#include "core/device/CLumo.h"
#include "pty/PtyPair.h"
#include "support/BenchFigures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRuns = 2;
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
    const QString path = FirmwareBench::MakeImage(dir);
    const int blocks = FirmwareBench::Blocks();
    const double floorMs = FirmwareBench::FloorMs();
    std::printf("XModem-CRC, %d bytes = %d blocks, peer acknowledges at once\n",
                FirmwareBench::kFileSize, blocks);
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
        const FirmwareRun result = FirmwareBench::Run(lumo, line, path);
        const double sendingMs = result.SendingMs();
        slowestMs = std::max(slowestMs, sendingMs);
        allComplete = allComplete && result.complete;
        std::printf("run %d: %d blocks acknowledged, outcome %s\n", run, result.blocks,
                    qPrintable(result.outcome));
        std::printf("  start to first block byte: %lld ms (start timer 200 ms + one 100 ms poll)\n",
                    static_cast<long long>(result.firstByteMs));
        std::printf("  first block byte to finish: %.0f ms = floor + %.1f%% (%.1f ms per block "
                    "before EOT)\n",
                    sendingMs, (sendingMs / floorMs - 1.0) * 100.0,
                    static_cast<double>(result.eotMs - result.firstByteMs - 100) / blocks);
        std::printf("  CPU: %.2f s over %.1f s (%.1f%%)\n", result.cpuSeconds,
                    result.finishMs / 1000.0,
                    result.cpuSeconds * 100000.0 / static_cast<double>(result.finishMs));
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
