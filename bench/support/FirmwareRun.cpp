#include "FirmwareRun.h"

#include "core/device/CLumo.h"
#include "pty/CpuTime.h"
#include "pty/PtyPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kBlockBytes = 3 + 128 + 2;

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

namespace FirmwareBench {

QString MakeImage(const QTemporaryDir& i_dir) {
    const QString path = i_dir.filePath(QStringLiteral("image.bin"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray content(kFileSize, '\0');
        for (int i = 0; i < kFileSize; ++i) {
            content[i] = static_cast<char>(i % 253);
        }
        file.write(content);
    }
    return path;
}

int Blocks() {
    return (kFileSize + 127) / 128;
}

double FloorMs() {
    return Blocks() * 120.0 + 100 + 500 + 100 + 100;
}

FirmwareRun Run(CLumo& i_lumo, PtyPair& i_line, const QString& i_sImage) {
    QElapsedTimer clock;
    Peer peer;
    peer.line = &i_line;
    peer.clock = &clock;
    QSocketNotifier notifier(i_line.MasterFd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated,
                     [&peer, &i_line] { peer.Take(i_line.ReadAvailable()); });

    i_lumo.setCheckSumType(1);
    i_lumo.setFile(i_sImage);
    i_lumo.setUpdateFirmwareFinish(false);
    const double cpuBefore = ProcessCpuSeconds();
    clock.start();
    peer.Answer('C');
    i_lumo.StartSendFile();
    while (!i_lumo.UpdateFirmwareFinish() && clock.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    FirmwareRun run;
    run.finishMs = clock.elapsed();
    run.cpuSeconds = ProcessCpuSeconds() - cpuBefore;
    // Let the closing command arrive so that it does not count for the next run.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    run.blocks = peer.blocks;
    run.firstByteMs = peer.firstByteMs;
    run.eotMs = peer.eotMs;
    run.outcome = i_lumo.LastTransferOutcome().Text();
    run.complete =
        peer.blocks == Blocks() && i_lumo.LastTransferOutcome().end == XModemOutcome::End::Complete;
    return run;
}

} // namespace FirmwareBench
