// What the line monitor costs, offscreen:
//  - what recording an event costs while no monitor is open;
//  - the 16 KiB firmware transfer (as in xmodem_bench) with the monitor window open against the
//    same transfer with it closed, runs alternating;
//  - the heap that a full record of 200,000 events takes, with every event a 128-byte piece
//    (the most one holds) and with the events of a firmware transfer;
//  - the window opened on a full record of 200,000 rows: how long until all are shown, the
//    longest the event loop waited meanwhile, the heap the rows take.
// Prints figures; never fails on time.
#include "FirmwareRun.h"
#include "core/device/CLumo.h"
#include "core/serial/LineTap.h"
#include "gui/monitor/LineMonitorModel.h"
#include "gui/monitor/frmLineMonitor.h"
#include "pty/PtyPair.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

namespace {

constexpr int kRounds = 2;
constexpr double kMiB = 1024.0 * 1024.0;

// Bytes in use from malloc, the large blocks it maps on their own included.
double heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// Runs the transfer; with i_blnMonitor the line monitor is open and follows it.
FirmwareRun transfer(CLumo& io_lumo, PtyPair& io_line, const QString& i_sImage, bool i_blnMonitor,
                     int& o_iRows) {
    LineTap::Shared().Clear();
    std::unique_ptr<frmLineMonitor> monitor;
    if (i_blnMonitor) {
        monitor = std::make_unique<frmLineMonitor>();
        monitor->show();
        QApplication::processEvents();
    }
    const FirmwareRun run = FirmwareBench::Run(io_lumo, io_line, i_sImage);
    o_iRows = monitor ? static_cast<int>(monitor->Model().Rows().RowCount()) : 0;
    return run;
}

void transferWithTheMonitor() {
    PtyPair line;
    if (!line.IsOpen()) {
        std::perror("openpty");
        return;
    }
    qputenv("LUMOQ4_COM1", line.SlavePath().toLocal8Bit());
    QTemporaryDir dir;
    const QString image = FirmwareBench::MakeImage(dir);
    CLumo lumo;
    lumo.setCommPort(1);
    lumo.setBaudRate(QStringLiteral("19200"));
    lumo.setParity(QStringLiteral("NONE"));
    if (lumo.Connect() != 0) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(line.SlavePath()));
        return;
    }
    double closedMs = 0;
    double openMs = 0;
    double closedCpu = 0;
    double openCpu = 0;
    bool complete = true;
    for (int round = 1; round <= kRounds; ++round) {
        for (const bool monitor : {false, true}) {
            int rows = 0;
            const FirmwareRun run = transfer(lumo, line, image, monitor, rows);
            complete = complete && run.complete;
            (monitor ? openMs : closedMs) = std::max(monitor ? openMs : closedMs, run.SendingMs());
            (monitor ? openCpu : closedCpu) += run.cpuSeconds;
            std::printf("round %d, monitor %s: first block byte to finish %.0f ms, CPU %.2f s, "
                        "%s%s\n",
                        round, monitor ? "open" : "closed", run.SendingMs(), run.cpuSeconds,
                        qPrintable(run.outcome),
                        monitor ? qPrintable(QStringLiteral(", %1 rows shown").arg(rows)) : "");
        }
    }
    lumo.Disconnect();
    std::printf("| 16 KiB firmware transfer with the Line Monitor open, slower of %d against "
                "slower of %d closed | %.2f s against %.2f s: %+.1f %% (CPU %.2f s against "
                "%.2f s)%s | at most 3 %% longer |\n",
                kRounds, kRounds, openMs / 1000.0, closedMs / 1000.0,
                (openMs / closedMs - 1.0) * 100.0, openCpu / kRounds, closedCpu / kRounds,
                complete ? "" : ", NOT COMPLETE");
}

void recordingCost() {
    LineTap tap;
    const QByteArray frame = QByteArray::fromHex("0401493417");
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < LineTap::kCapacity; ++i) {
        tap.Written(frame);
    }
    const double ns = static_cast<double>(clock.nsecsElapsed()) / LineTap::kCapacity;
    std::printf("| recording one write in the serial component's record, no monitor open | "
                "%.0f ns (a native command records 5 events and takes over 50 ms) | nothing "
                "measurable |\n",
                ns);
}

void fullRecordMemory() {
    {
        const double before = heapBytes();
        LineTap tap;
        const QByteArray piece(LineTap::kLongestPiece, 'x');
        for (int i = 0; i < LineTap::kCapacity; ++i) {
            tap.Written(piece);
        }
        const double mib = (heapBytes() - before) / kMiB;
        std::printf("| a full record: %d events of %d bytes each (the largest) | %.1f MiB | "
                    "at most 64 MiB |\n",
                    tap.Size(), LineTap::kLongestPiece, mib);
    }
    {
        const double before = heapBytes();
        LineTap tap;
        const QByteArray data(128, 'd');
        while (tap.Size() < LineTap::kCapacity) {
            tap.Written(QByteArray("\x01\x05\xFA", 3));
            tap.Written(data);
            tap.Written(QByteArray("\x12\x34", 2));
            tap.Read(QByteArray("\x06", 1));
        }
        std::printf("heap of a full record of a firmware transfer's events (header, data, "
                    "trailer, ACK): %.1f MiB\n",
                    (heapBytes() - before) / kMiB);
    }
}

void windowOverAFullRecord() {
    LineTap tap;
    tap.Opened(QStringLiteral("/dev/pts/0"), QStringLiteral("19200n,8,1"));
    const QByteArray frame = QByteArray::fromHex("0401493417");
    const QByteArray ack = QByteArray::fromHex("06");
    while (tap.Size() < LineTap::kCapacity) {
        tap.Written(frame);
        tap.Read(ack);
    }
    const double before = heapBytes();
    QElapsedTimer clock;
    clock.start();
    frmLineMonitor monitor(tap);
    monitor.show();
    // A 5 ms ticker measures how long the event loop is kept from it.
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticker.start(5);
    while (monitor.Model().Rows().RowCount() + 1 < static_cast<size_t>(tap.Size()) &&
           clock.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    const qint64 loadedMs = clock.elapsed();
    ticker.stop();
    QElapsedTimer paint;
    paint.start();
    monitor.lvwLine->scrollToBottom();
    monitor.lvwLine->viewport()->repaint();
    const qint64 paintMs = paint.elapsed();
    QElapsedTimer search;
    search.start();
    LineFilter filter;
    filter.search = QStringLiteral("NAK");
    monitor.Model().SetFilter(filter);
    const qint64 searchMs = search.elapsed();
    std::printf("| the Line Monitor opened on a full record of %zu rows | all shown after %lld "
                "ms; the event loop waited at most %lld ms; a repaint at the newest row %lld ms; "
                "a search through all rows %lld ms; the rows take %.1f MiB | responsive: "
                "batches at most 30 a second |\n",
                monitor.Model().Rows().RowCount(), static_cast<long long>(loadedMs),
                static_cast<long long>(longest), static_cast<long long>(paintMs),
                static_cast<long long>(searchMs), (heapBytes() - before) / kMiB);
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    recordingCost();
    fullRecordMemory();
    windowOverAFullRecord();
    transferWithTheMonitor();
    return 0;
}
