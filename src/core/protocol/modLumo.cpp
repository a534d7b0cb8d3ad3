#include "core/protocol/modLumo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <limits>
#include <thread>
#include <vector>

namespace modLumo {

std::array<qint16, 256> CharacterTable{};

namespace {

// Windows-1252 bytes that the display shows at another position. Most are the code page 437
// position of the same character; a few (dagger, circumflex, bullet, currency, acute) are
// look-alikes.
constexpr std::array<std::pair<quint8, quint8>, 57> kTranslated{{
    {0x83, 0x9F}, {0x86, 0xC5}, {0x87, 0xD8}, {0x88, 0x5E}, {0x95, 0xF9}, {0xA1, 0xAD},
    {0xA2, 0x9B}, {0xA3, 0x9C}, {0xA4, 0x24}, {0xA5, 0x9D}, {0xAA, 0xA6}, {0xAB, 0xAE},
    {0xAC, 0xAA}, {0xB0, 0xF8}, {0xB1, 0xF1}, {0xB4, 0xEF}, {0xB5, 0xE6}, {0xBA, 0xA7},
    {0xBB, 0xAF}, {0xBC, 0xAC}, {0xBD, 0xAB}, {0xBF, 0xA8}, {0xC4, 0x8E}, {0xC5, 0x8F},
    {0xC6, 0x92}, {0xC7, 0x80}, {0xC9, 0x90}, {0xD1, 0xA5}, {0xD6, 0x99}, {0xDC, 0x9A},
    {0xDF, 0xE1}, {0xE0, 0x85}, {0xE1, 0xA0}, {0xE2, 0x83}, {0xE4, 0x84}, {0xE5, 0x86},
    {0xE6, 0x91}, {0xE7, 0x87}, {0xE8, 0x8A}, {0xE9, 0x82}, {0xEA, 0x88}, {0xEB, 0x89},
    {0xEC, 0x8D}, {0xED, 0xA1}, {0xEE, 0x8C}, {0xEF, 0x8B}, {0xF1, 0xA4}, {0xF2, 0x95},
    {0xF3, 0xA2}, {0xF4, 0x93}, {0xF6, 0x94}, {0xF7, 0xF6}, {0xF9, 0x97}, {0xFA, 0xA3},
    {0xFB, 0x96}, {0xFC, 0x81}, {0xFF, 0x98},
}};

// The nested loops of the waits idling now, innermost last: a stop request quits them all.
std::vector<QEventLoop*> g_idleLoops;

struct IdleLoop {
    explicit IdleLoop(QEventLoop& i_loop) { g_idleLoops.push_back(&i_loop); }
    ~IdleLoop() { g_idleLoops.pop_back(); }
    IdleLoop(const IdleLoop&) = delete;
    IdleLoop& operator=(const IdleLoop&) = delete;
};

class SystemClock : public WaitClock {
public:
    SystemClock() { m_timer.start(); }

    qint64 NowMs() override { return m_timer.elapsed(); }

    void Idle(qint64 i_lMs) override {
        if (QCoreApplication::instance() == nullptr) {
            std::this_thread::sleep_for(std::chrono::milliseconds(i_lMs));
            return;
        }
        // A nested loop woken by a precise single-shot timer: the thread sleeps in the event
        // dispatcher until the timer or another event arrives.
        QEventLoop loop;
        const IdleLoop idle(loop);
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(std::min<qint64>(i_lMs, std::numeric_limits<int>::max())));
        if (loop.exec() != 0) {
            // The application is quitting: a nested loop then returns at once, and the caller
            // would spin until its deadline. Sleep in short steps instead, still handling
            // events between them.
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(i_lMs, 10)));
        }
    }

private:
    QElapsedTimer m_timer;
};

SystemClock& systemClock() {
    static SystemClock s_clock;
    return s_clock;
}

WaitClock* g_pClock = nullptr;
bool g_blnAbandoned = false;
std::atomic<bool> g_blnStop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "RequestStop runs in signal handlers");

} // namespace

void BuildCharacterTable() {
    for (int i = 0; i < 256; ++i) {
        CharacterTable[static_cast<size_t>(i)] = static_cast<qint16>(i);
    }
    for (const auto& [from, to] : kTranslated) {
        CharacterTable[from] = to;
    }
}

WaitClock& Clock() {
    return g_pClock ? *g_pClock : systemClock();
}

void SetClock(WaitClock* i_pClock) {
    g_pClock = i_pClock;
}

void AbandonWaits() {
    g_blnAbandoned = true;
}

bool WaitsAbandoned() {
    return g_blnAbandoned;
}

void RequestStop() {
    g_blnStop = true;
}

bool StopRequested() {
    return g_blnStop;
}

void WakeWaits() {
    for (QEventLoop* loop : g_idleLoops) {
        loop->quit();
    }
}

void ProcessEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

void WaitMilliseconds(qint64 ms) {
    WaitClock& clock = Clock();
    const qint64 start = clock.NowMs();
    for (;;) {
        if (g_blnAbandoned || g_blnStop) {
            return;
        }
        const qint64 elapsed = std::max<qint64>(0, clock.NowMs() - start);
        if (elapsed > ms) {
            return;
        }
        // Sleep until just past the deadline; events that arrive meanwhile are handled.
        clock.Idle(ms - elapsed + 1);
    }
}

qint32 GetCheckSum(const QByteArray& i_bData) {
    qint32 sum = 0;
    for (const char c : i_bData) {
        sum = (sum + static_cast<quint8>(c)) % 256;
    }
    return sum;
}

qint32 GetCRC16(const QByteArray& i_bData) {
    quint16 crc = 0;
    for (const char c : i_bData) {
        crc ^= static_cast<quint16>(static_cast<quint8>(c) << 8);
        for (int bit = 0; bit < 8; ++bit) {
            const bool high = (crc & 0x8000) != 0;
            crc = static_cast<quint16>(crc << 1);
            if (high) {
                crc ^= 0x1021;
            }
        }
    }
    return crc;
}

} // namespace modLumo
