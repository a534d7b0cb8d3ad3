// Prints what following the serial devices and looking for the display cost on this machine.
// It never fails on time.
//
//   1. CPU share of a device watcher over 60 s while nothing changes (it watches this
//      machine's own /dev; listing reads the device database and opens nothing).
//   2. How long after a device appears the watcher reports it (a device list of the
//      benchmark's own, and a change in a folder of its own).
//   3. Find Display against a simulated display at the current settings (38400 baud, no
//      parity), median of 5.
//   4. The first pass over one port of 21 settings, against a display that never answers.
//   5. From a cancel to the scan's end with the line closed, in the middle of a wait.
// Set PORTS_BENCH_IDLE_SECONDS to shorten step 1.

#include "PtyDisplay.h"
#include "core/device/frmCLumo.h"
#include "core/ports/DeviceSource.h"
#include "core/ports/DeviceWatcher.h"
#include "core/ports/SerialDiscovery.h"
#include "core/protocol/modLumo.h"
#include "core/scan/DisplayScan.h"
#include "core/scan/ScanPlan.h"
#include "pty/CpuTime.h"
#include "support/BenchFigures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

void runFor(int i_iMs) {
    QEventLoop loop;
    QTimer::singleShot(i_iMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// The benchmark's own machine: a list it sets and a folder it changes.
class BenchSource : public DeviceSource {
public:
    explicit BenchSource(const QString& i_sFolder) : m_sFolder(i_sFolder) {
        QDir().mkpath(m_sFolder);
    }
    SerialDeviceList Enumerate() override { return devices; }
    QString ByIdFolder() const override { return m_sFolder + QStringLiteral("/by-id"); }
    QStringList LockFolders() const override { return {QStringLiteral("/run/lock")}; }
    QStringList ConsoleFiles() const override { return {QStringLiteral("/proc/consoles")}; }
    QStringList WatchedFolders() const override { return {m_sFolder}; }
    SerialDeviceList devices;

private:
    QString m_sFolder;
};

class Progress : public ScanObserver {
public:
    void Trying(const ScanStep& i_step) override {
        if (stopAtPass2 && i_step.pass == 2) {
            cancelled = true;
        }
    }
    bool Cancelled() override { return cancelled; }
    bool stopAtPass2 = false;
    bool cancelled = false;
};

QList<ScanSetting> settings() {
    return ScanPlan::Settings(
        {QStringLiteral("38400"), QStringLiteral("19200"), QStringLiteral("9600"),
         QStringLiteral("4800"), QStringLiteral("2400"), QStringLiteral("1200"),
         QStringLiteral("600")},
        {QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN")},
        {QStringLiteral("38400"), QStringLiteral("NONE")});
}

SerialDeviceList one(const QString& i_sPath) {
    SerialDevice d;
    d.path = i_sPath;
    return {d};
}

void idleWatcher() {
    const int seconds = qEnvironmentVariableIsSet("PORTS_BENCH_IDLE_SECONDS")
                            ? qEnvironmentVariableIntValue("PORTS_BENCH_IDLE_SECONDS")
                            : 60;
    QElapsedTimer listing;
    listing.start();
    const SerialDeviceList devices = SerialDiscovery::List();
    const double listMs = double(listing.nsecsElapsed()) / 1e6;
    std::printf("this machine lists %lld serial device(s) in %.1f ms:\n",
                static_cast<long long>(devices.size()), listMs);
    for (const SerialDevice& d : devices) {
        std::printf("  %s  %s  %s\n", qPrintable(d.path), qPrintable(d.Label()),
                    qPrintable(d.StateText()));
    }
    DeviceWatcher watcher;
    const double cpu0 = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    const double share = 100.0 * (ProcessCpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
    std::printf("device watcher idle for %d s: CPU share %.3f %%\n", seconds, share);
    std::printf("| CPU share of the device watcher, %d s idle | %.2f %% | at most 0.5 %% |\n",
                seconds, share);
}

void reportDelay() {
    QTemporaryDir folder;
    BenchSource source(folder.path() + QStringLiteral("/dev"));
    DeviceSource* previous = DeviceSource::Install(&source);
    std::vector<double> delays;
    {
        DeviceWatcher watcher;
        QElapsedTimer timer;
        QEventLoop loop;
        QObject::connect(&watcher, &DeviceWatcher::devicesChanged, &loop, &QEventLoop::quit);
        for (int i = 0; i < 5; ++i) {
            source.devices =
                i % 2 == 0 ? one(QStringLiteral("/dev/ttyUSB%1").arg(i)) : SerialDeviceList();
            timer.start();
            QFile marker(folder.path() + QStringLiteral("/dev/node%1").arg(i));
            marker.open(QIODevice::WriteOnly);
            marker.close();
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);
            loop.exec();
            delays.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    DeviceSource::Install(previous);
    std::printf("device came or went, reported after: median %.0f ms, max %.0f ms (5 changes)\n",
                BenchFigures::Median(delays), *std::max_element(delays.begin(), delays.end()));
    std::printf("| a device coming or going reported after | median %.0f ms, max %.0f ms | "
                "within 2 s |\n",
                BenchFigures::Median(delays), *std::max_element(delays.begin(), delays.end()));
}

void findAtCurrentSettings() {
    PtyDisplayOptions options;
    options.lineSpeed = 38400;
    PtyDisplay display(options);
    std::vector<double> times;
    bool allFound = true;
    for (int i = 0; i < 5; ++i) {
        Progress progress;
        DisplayScan scan(frmCLumo::Instance().MSComm1(), progress, 1);
        QElapsedTimer timer;
        timer.start();
        const ScanOutcome outcome = scan.Run(one(display.SlavePath()), settings());
        times.push_back(double(timer.nsecsElapsed()) / 1e9);
        allFound = allFound && outcome.result == ScanOutcome::Result::Found;
    }
    std::printf("Find Display, display at 38400/NONE: median %.3f s, max %.3f s%s\n",
                BenchFigures::Median(times), *std::max_element(times.begin(), times.end()),
                allFound ? "" : " (NOT ALWAYS FOUND)");
    std::printf("| Find Display, display at the current settings (median of 5) | %.2f s%s | at "
                "most 0.5 s |\n",
                BenchFigures::Median(times), allFound ? "" : ", NOT ALWAYS FOUND");
}

void firstPass() {
    PtyDisplayOptions options;
    options.silent = true;
    PtyDisplay display(options);
    Progress progress;
    progress.stopAtPass2 = true;
    DisplayScan scan(frmCLumo::Instance().MSComm1(), progress, 1);
    QElapsedTimer timer;
    timer.start();
    scan.Run(one(display.SlavePath()), settings());
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("first pass over one silent port, 21 settings: %.2f s (its waits: 4.10 s)\n",
                seconds);
    std::printf("| Find Display, first pass over one port (21 settings) | %.2f s | at most 6 s |\n",
                seconds);
}

void cancelDelay() {
    PtyDisplayOptions options;
    options.silent = true;
    PtyDisplay display(options);
    std::vector<double> delays;
    for (int i = 0; i < 5; ++i) {
        Progress progress;
        QElapsedTimer sinceCancel;
        // Into the second pass, where each setting waits 1.4 s.
        QTimer::singleShot(4500 + 170 * i, [&] {
            progress.cancelled = true;
            sinceCancel.start();
        });
        DisplayScan scan(frmCLumo::Instance().MSComm1(), progress, 1);
        scan.Run(one(display.SlavePath()), settings());
        const bool closed = !frmCLumo::Instance().MSComm1().PortOpen();
        delays.push_back(closed ? double(sinceCancel.nsecsElapsed()) / 1e6 : 1e9);
    }
    std::printf("cancel to the scan's end with the line closed: median %.0f ms, max %.0f ms\n",
                BenchFigures::Median(delays), *std::max_element(delays.begin(), delays.end()));
    std::printf("| Find Display, cancel to port closed | median %.0f ms, max %.0f ms | within "
                "0.3 s |\n",
                BenchFigures::Median(delays), *std::max_element(delays.begin(), delays.end()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    idleWatcher();
    reportDelay();
    findAtCurrentSettings();
    firstPass();
    cancelDelay();
    return 0;
}
