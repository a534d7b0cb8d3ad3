#pragma once

#include "core/protocol/WaitClock.h"
#include "core/protocol/modLumo.h"

#include <QCoreApplication>
#include <functional>

// A clock whose time moves only when the program waits: each Idle jumps straight to the end of
// the wait, processes pending events once, and runs the test's hook, so a one-minute timeout
// runs at once. Installed for the lifetime of the object.
class FakeClock : public WaitClock {
public:
    FakeClock() { modLumo::SetClock(this); }
    ~FakeClock() override { modLumo::SetClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    qint64 NowMs() override { return m_lNow; }

    void Idle(qint64 i_lMs) override {
        m_lNow += i_lMs;
        ++m_iIdles;
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::processEvents();
        }
        if (onIdle) {
            onIdle(m_lNow);
        }
    }

    void Advance(qint64 i_lMs) { m_lNow += i_lMs; }

    // Gives every wait back to the real clock from now on, for a test that has to see real time
    // pass (a progress bar moving).
    void UseRealTime() { modLumo::SetClock(nullptr); }
    int Idles() const { return m_iIdles; }

    // Runs after every wait step with the new time.
    std::function<void(qint64)> onIdle;

private:
    qint64 m_lNow = 1000;
    int m_iIdles = 0;
};
