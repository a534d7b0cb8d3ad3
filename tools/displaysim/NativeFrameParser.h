#pragma once

#include <QByteArray>

// Finds native frames, EOT SOH letter [p1 [p2]] ETB, in the byte stream. Bytes that are not
// part of a frame are handed back for the other command sets.
class NativeFrameParser {
public:
    struct Step {
        // Bytes to interpret as something else (0, 1 or 2 of them).
        QByteArray passOn;
        // A whole frame has ended: EOT SOH .. ETB, or an overlong frame that was given up.
        bool frameDone = false;
        bool overlong = false;
        QByteArray frame;
    };

    Step Feed(quint8 i_cByte);

    // True while a frame (or a lone EOT that may start one) is being collected.
    bool Busy() const { return m_state != State::Idle; }

private:
    enum class State { Idle, SawEot, InFrame };
    State m_state = State::Idle;
    QByteArray m_bFrame;
};
