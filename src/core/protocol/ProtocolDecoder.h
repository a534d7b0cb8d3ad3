#pragma once

#include "core/protocol/AnswerParser.h"
#include "core/protocol/DisplayStreamParser.h"
#include "core/protocol/LineContext.h"
#include "core/protocol/LoaderStreamParser.h"
#include "core/protocol/PendingEvent.h"
#include "core/protocol/Vt100StreamParser.h"

#include <QByteArray>

// The one decoder of everything that crosses the line, in both directions: native frames and
// their ACK or NAK, the message and version replies, plain text, EPSON controls and sequences,
// the aux-device pass-through, fully lit cells, the firmware loader's dialogue, XModem (start
// requests, blocks with their number and check, EOT, CAN, ACK, NAK) and VT100 sequences with
// the VT100 display's answers. Bytes that fit nothing come out as Unknown events; no byte is
// ever dropped.
//
//   ProtocolDecoder decoder;
//   decoder.Feed(LineDirection::ToDisplay, "\x04\x01\x49", 1);   // nothing yet
//   decoder.Feed(LineDirection::ToDisplay, "\x34\x17", 2);       // NativeFrame, tag 1
//   decoder.Feed(LineDirection::FromDisplay, "\x06", 3);         // Acknowledge, tag 3
//
// The events do not depend on how the bytes of one direction are cut into pieces: every
// decision is taken byte by byte. An event ends with its last byte where it has one (a frame,
// a sequence, a block); runs without an end of their own (text, cells, pass-through, the
// version reply, a prompt, unknown bytes) end at the first byte that is not theirs, when the
// line turns round (a byte of the other direction), at Boundary() and at Flush(). Peek() shows
// what Flush() would give without ending anything.
//
// The mode of the display follows the stream: ESC "Load" enters the loader, "PX" or "ZX" CR
// starts the XModem transfer, ESC "R" CR reboots into the display's own command sets; a "T",
// "V", ESC [0c or ESC T tells what the display's next answer is. What the bytes cannot tell
// (a display in VT100 mode, the kind of XModem blocks before the start request) the caller
// gives with SetContext(). A half-received sequence survives Boundary() (the display keeps it
// across a closed port); Flush() and a change of context end it as incomplete.
class ProtocolDecoder {
public:
    explicit ProtocolDecoder(LineContext i_context = LineContext::Display);

    // Decodes the next piece of one direction; i_lTag comes back on every event whose first
    // byte is in this piece.
    ProtocolEvents Feed(LineDirection i_direction, const QByteArray& i_bBytes, quint64 i_lTag = 0);

    // The port opened or closed: runs end, half-received sequences wait on.
    ProtocolEvents Boundary();

    // The caller's hint. A context other than the current one ends everything first; an
    // XModem hint during a transfer only fixes the kind of its blocks.
    ProtocolEvents SetContext(LineContext i_context);

    // Ends everything, half-received sequences as incomplete unknown bytes.
    ProtocolEvents Flush();

    // What Flush() would give now; the decoder is not changed.
    ProtocolEvents Peek() const;

private:
    enum class Mode { Display, Vt100, Loader };

    void feedByte(LineDirection i_direction, quint8 i_cByte, quint64 i_lTag,
                  ProtocolEvents& o_events);
    void endRuns(ProtocolEvents& o_events);
    void flushAll(ProtocolEvents& o_events);
    void enter(Mode i_mode, ProtocolEvents& o_events);
    // The consequences of an event: a new mode, the reply the display owes.
    void follow(const ProtocolEvent& i_event);
    void followNative(const ProtocolEvent& i_event);
    AnswerParser::Listener listener() const;

    Mode m_mode = Mode::Display;
    bool m_blnTurned = false; // a byte has gone by, in m_lastDirection
    LineDirection m_lastDirection = LineDirection::ToDisplay;
    DisplayStreamParser m_display;
    Vt100StreamParser m_vt100;
    LoaderStreamParser m_loader;
    AnswerParser m_answers;
};
