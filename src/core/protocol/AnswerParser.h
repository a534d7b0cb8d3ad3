#pragma once

#include "core/protocol/PendingEvent.h"

// The bytes the display sends. What they are depends on what it was asked: the decoder tells
// it the reply it expects after each command (the message after "T", the version after "V",
// the identification after ESC [0c, the screen after ESC T) and which command set is in
// force. Without a question the display sends ACK or NAK; its loader talks in prompts that end
// with ">"; its XModem receiver sends start requests, ACK, NAK and CAN. Anything else is
// unknown.
//
// Replies without an end of their own (the version, a screen read cut short, a prompt, unknown
// bytes) end where the line turns round or the port closes.
class AnswerParser {
public:
    enum class Expect { Nothing, Message, Version, Identification, Screen };
    enum class Listener { Display, Vt100, Loader, XModem };

    // The next byte from the display is the start of this reply.
    void ExpectReply(Expect i_expect) { m_expect = i_expect; }

    void Feed(quint8 i_cByte, quint64 i_lTag, Listener i_listener, bool i_blnBlockSent,
              ProtocolEvents& o_events);
    void EndRuns(ProtocolEvents& o_events);

    // The cells of a VT100 screen read (4 lines of 20).
    static constexpr int kScreenCells = 80;

private:
    // True when the byte continues the reply or run under way (and was taken).
    bool continueRun(quint8 i_cByte, quint64 i_lTag, Listener i_listener, ProtocolEvents& o_events);
    // True when the byte begins the expected reply (and was taken).
    bool beginExpected(Expect i_expect, quint8 i_cByte, quint64 i_lTag);
    void feedDefault(quint8 i_cByte, quint64 i_lTag, Listener i_listener, bool i_blnBlockSent,
                     ProtocolEvents& o_events);
    void single(EventKind i_kind, quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events,
                quint8 i_flags = 0);
    static bool knownByte(quint8 i_cByte, Listener i_listener);

    PendingEvent m_run;
    Expect m_expect = Expect::Nothing;
};
