// Prints how the device link's waiting behaves on this machine. It never fails on time.
//
//   1. CPU share of the process during one WaitMilliseconds(2000).
//   2. Overshoot of 100 calls of WaitMilliseconds(50): how much longer than 50 ms each took.
//   3. Round trip of SetInternationalCode against a pseudo-terminal peer that acknowledges at
//      once. The session polls, then waits more than 50 ms before it polls again, so 50 ms is
//      the floor for an answer that is not already there at the first poll.

#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/protocol/modLumo.h"
#include "pty/CpuTime.h"
#include "pty/PtyPair.h"
#include "support/BenchFigures.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <poll.h>
#include <sys/vfs.h>
#include <thread>
#include <vector>

namespace {

// A display on the master side of a pseudo-terminal: it answers every native frame with ACK
// the moment the frame's last byte is read, from a thread of its own.
class AckPeer {
public:
    AckPeer() {
        if (m_pty.IsOpen()) {
            m_thread = std::thread([this] { run(); });
        }
    }
    ~AckPeer() {
        m_blnStop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    bool valid() const { return m_pty.IsOpen(); }
    QString path() const { return m_pty.SlavePath(); }

private:
    void run() {
        while (!m_blnStop) {
            pollfd p{m_pty.MasterFd(), POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                continue;
            }
            if (m_pty.ReadAvailable().endsWith('\x17')) {
                m_pty.Write(QByteArray(1, '\x06'));
            }
        }
    }

    PtyPair m_pty;
    std::atomic<bool> m_blnStop{false};
    std::thread m_thread;
};

void cpuShare() {
    const double cpu0 = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    modLumo::WaitMilliseconds(2000);
    const double wallS = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = ProcessCpuSeconds() - cpu0;
    std::printf("WaitMilliseconds(2000): wall %.3f s, CPU %.4f s, CPU share %.2f %%\n", wallS, cpu,
                100.0 * cpu / wallS);
    std::printf("| CPU share during `WaitMilliseconds(2000)` | %.2f %% | at most 2 %% |\n",
                100.0 * cpu / wallS);
}

void overshoot() {
    std::vector<double> over;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer t;
        t.start();
        modLumo::WaitMilliseconds(50);
        over.push_back(double(t.nsecsElapsed()) / 1e6 - 50.0);
    }
    std::printf("WaitMilliseconds(50) x100: overshoot median %.3f ms, max %.3f ms, min %.3f ms\n",
                BenchFigures::Median(over), *std::max_element(over.begin(), over.end()),
                *std::min_element(over.begin(), over.end()));
    std::printf(
        "| overshoot of 100 x `WaitMilliseconds(50)` | median %.1f ms, max %.1f ms | median "
        "at most 2 ms |\n",
        BenchFigures::Median(over), *std::max_element(over.begin(), over.end()));
}

void roundTrip() {
    AckPeer peer;
    if (!peer.valid()) {
        std::printf("round trip: no pseudo-terminal available\n");
        return;
    }
    qputenv("LUMOQ4_COM1", peer.path().toLocal8Bit());
    CLumo lumo;
    lumo.setCommPort(1);
    lumo.setBaudRate("19200");
    lumo.setParity("NONE");
    std::vector<double> trips;
    int failures = 0;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        const int status = lumo.SetInternationalCode(4);
        trips.push_back(double(t.nsecsElapsed()) / 1e6);
        failures += status != 0;
    }
    std::printf("SetInternationalCode x30 against an at-once ACK: median %.3f ms, max %.3f ms, "
                "min %.3f ms (%+.3f ms over the 50 ms floor at the median), %d not 0\n",
                BenchFigures::Median(trips), *std::max_element(trips.begin(), trips.end()),
                *std::min_element(trips.begin(), trips.end()), BenchFigures::Median(trips) - 50.0,
                failures);
    std::printf(
        "| `SetInternationalCode` round trip, peer answering at once | median %.1f ms (%+.1f ms "
        "over the 50 ms floor)%s | within 10 ms of the floor |\n",
        BenchFigures::Median(trips), BenchFigures::Median(trips) - 50.0,
        failures == 0 ? "" : ", SOME FAILED");

    // What opening and closing alone cost (the serial component's lock file, the line setup).
    std::vector<double> opens;
    std::vector<double> closes;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        lumo.Connect();
        opens.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        lumo.Disconnect();
        closes.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("  of which Connect alone: median %.3f ms, max %.3f ms; Disconnect alone: median "
                "%.3f ms, max %.3f ms\n",
                BenchFigures::Median(opens), *std::max_element(opens.begin(), opens.end()),
                BenchFigures::Median(closes), *std::max_element(closes.begin(), closes.end()));
    qunsetenv("LUMOQ4_COM1");
}

} // namespace

// The serial component takes a lock file in /var/lock at every open and removes it at every
// close, and syncs it to disk. On tmpfs that is free; on a disk it can cost milliseconds.
void lockFolder() {
    struct statfs fs {};
    if (::statfs("/var/lock", &fs) != 0) {
        std::printf("lock folder /var/lock: absent\n");
        return;
    }
    const bool tmpfs = static_cast<unsigned long>(fs.f_type) == 0x01021994UL;
    std::printf("lock folder /var/lock: %s\n", tmpfs ? "tmpfs" : "on a disk file system");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%u hardware threads\n", std::thread::hardware_concurrency());
    lockFolder();
    cpuShare();
    overshoot();
    roundTrip();
    return 0;
}
