#pragma once

#include "core/protocol/PendingEvent.h"

// The bytes the program writes to a display in VT100 mode, read as that display reads them:
// BS, LF and CR; ESC [2J, ESC [0K, ESC [0c, ESC [Py;PxH; ESC R n (country code), ESC B n
// (brightness) and ESC T (read the screen). ESC [ followed by a number waits for more; any
// other escape ends where the display drops it, as an unknown sequence. Every other byte is
// printed: it is text.
class Vt100StreamParser {
public:
    void Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void EndRuns(ProtocolEvents& o_events);
    void Flush(ProtocolEvents& o_events);

    // A parameter as the display reads it: spaces, an optional sign, digits with an optional
    // fraction, spaces. An empty parameter counts as 0.
    static bool IsNumber(const QByteArray& i_bText);
    // The two parameters of ESC [Py;PxH (the bytes after ESC, up to the "H").
    static void CursorParameters(const QByteArray& i_bBody, QByteArray& o_bLine,
                                 QByteArray& o_bColumn);

    // A waiting sequence longer than this is given up as unknown.
    static constexpr int kLongestSequence = 32;

private:
    enum class Verdict { Wait, Done, Unknown };
    static Verdict judge(const QByteArray& i_bBody);
    static Verdict judgeBracket(const QByteArray& i_bBody);
    void end(EventKind i_kind, ProtocolEvents& o_events);

    PendingEvent m_run;
    PendingEvent m_escape;
};
