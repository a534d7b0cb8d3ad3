#include "core/protocol/ProtocolDecoder.h"

ProtocolDecoder::ProtocolDecoder(LineContext i_context) {
    SetContext(i_context); // nothing is pending yet, so nothing comes out
}

ProtocolEvents ProtocolDecoder::Feed(LineDirection i_direction, const QByteArray& i_bBytes,
                                     quint64 i_lTag) {
    ProtocolEvents events;
    for (const char c : i_bBytes) {
        feedByte(i_direction, static_cast<quint8>(c), i_lTag, events);
    }
    return events;
}

void ProtocolDecoder::feedByte(LineDirection i_direction, quint8 i_cByte, quint64 i_lTag,
                               ProtocolEvents& o_events) {
    if (m_blnTurned && i_direction != m_lastDirection) {
        endRuns(o_events);
    }
    m_blnTurned = true;
    m_lastDirection = i_direction;
    const size_t first = o_events.size();
    if (i_direction == LineDirection::FromDisplay) {
        m_answers.Feed(i_cByte, i_lTag, listener(), m_loader.BlockSent(), o_events);
    } else if (m_mode == Mode::Display) {
        m_display.Feed(i_cByte, i_lTag, o_events);
    } else if (m_mode == Mode::Vt100) {
        m_vt100.Feed(i_cByte, i_lTag, o_events);
    } else {
        m_loader.Feed(i_cByte, i_lTag, o_events);
    }
    for (size_t i = first; i < o_events.size(); ++i) {
        follow(o_events[i]);
    }
}

AnswerParser::Listener ProtocolDecoder::listener() const {
    switch (m_mode) {
    case Mode::Display:
        return AnswerParser::Listener::Display;
    case Mode::Vt100:
        return AnswerParser::Listener::Vt100;
    case Mode::Loader:
        break;
    }
    return m_loader.Transferring() ? AnswerParser::Listener::XModem
                                   : AnswerParser::Listener::Loader;
}

void ProtocolDecoder::follow(const ProtocolEvent& i_event) {
    if (i_event.direction == LineDirection::FromDisplay) {
        if (i_event.kind == EventKind::XModemStart) {
            m_loader.NoteStartRequest(i_event.Has(ProtocolEvent::Crc));
        }
        return;
    }
    switch (i_event.kind) {
    case EventKind::NativeFrame:
        followNative(i_event);
        break;
    case EventKind::LoaderCommand:
        if (i_event.bytes == LoaderStreamParser::RebootCommand()) {
            m_mode = Mode::Display;
            m_display.Reset();
        } else if (i_event.bytes == LoaderStreamParser::LoadCommand() && m_mode != Mode::Loader) {
            m_mode = Mode::Loader;
            m_loader.Reset();
        }
        m_answers.ExpectReply(AnswerParser::Expect::Nothing);
        break;
    case EventKind::Vt100:
        if (i_event.bytes == "\x1B[0c") {
            m_answers.ExpectReply(AnswerParser::Expect::Identification);
        } else if (i_event.bytes == "\x1BT") {
            m_answers.ExpectReply(AnswerParser::Expect::Screen);
        }
        break;
    default:
        break;
    }
}

void ProtocolDecoder::followNative(const ProtocolEvent& i_event) {
    AnswerParser::Expect expect = AnswerParser::Expect::Nothing;
    if (!i_event.Has(ProtocolEvent::Malformed) && i_event.bytes.size() == 4) {
        if (i_event.bytes[2] == 'T') {
            expect = AnswerParser::Expect::Message;
        } else if (i_event.bytes[2] == 'V') {
            expect = AnswerParser::Expect::Version;
        }
    }
    m_answers.ExpectReply(expect);
}

void ProtocolDecoder::endRuns(ProtocolEvents& o_events) {
    const size_t first = o_events.size();
    m_display.EndRuns(o_events);
    m_vt100.EndRuns(o_events);
    m_loader.EndRuns(o_events);
    m_answers.EndRuns(o_events);
    for (size_t i = first; i < o_events.size(); ++i) {
        follow(o_events[i]);
    }
}

void ProtocolDecoder::flushAll(ProtocolEvents& o_events) {
    endRuns(o_events);
    m_display.Flush(o_events);
    m_vt100.Flush(o_events);
    m_loader.Flush(o_events);
}

ProtocolEvents ProtocolDecoder::Boundary() {
    ProtocolEvents events;
    endRuns(events);
    return events;
}

ProtocolEvents ProtocolDecoder::Flush() {
    ProtocolEvents events;
    flushAll(events);
    return events;
}

ProtocolEvents ProtocolDecoder::Peek() const {
    ProtocolDecoder copy = *this;
    return copy.Flush();
}

void ProtocolDecoder::enter(Mode i_mode, ProtocolEvents& o_events) {
    if (m_mode == i_mode) {
        return;
    }
    flushAll(o_events);
    m_mode = i_mode;
    m_answers.ExpectReply(AnswerParser::Expect::Nothing);
    if (i_mode == Mode::Loader) {
        m_loader.Reset();
    }
}

ProtocolEvents ProtocolDecoder::SetContext(LineContext i_context) {
    ProtocolEvents events;
    switch (i_context) {
    case LineContext::Display:
        enter(Mode::Display, events);
        break;
    case LineContext::Vt100:
        enter(Mode::Vt100, events);
        break;
    case LineContext::Loader:
        enter(Mode::Loader, events);
        break;
    case LineContext::XModemChecksum:
    case LineContext::XModemCrc:
        enter(Mode::Loader, events);
        m_loader.BeginTransfer(i_context == LineContext::XModemCrc
                                   ? LoaderStreamParser::Check::Crc
                                   : LoaderStreamParser::Check::Checksum,
                               events);
        break;
    }
    return events;
}
