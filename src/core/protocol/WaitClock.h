#pragma once

#include <QtGlobal>

// The clock behind every wait for the display. The real one reads a monotonic clock and idles
// on the event loop; tests install one whose time moves only when somebody waits, so that a
// one-minute protocol timeout runs at once.
class WaitClock {
public:
    virtual ~WaitClock() = default;

    // Milliseconds on a monotonic scale.
    virtual qint64 NowMs() = 0;

    // Lets up to i_lMs milliseconds pass while pending events are processed; may return early.
    virtual void Idle(qint64 i_lMs) = 0;
};
