#include "core/protocol/AnswerParser.h"

#include <utility>

namespace {
constexpr quint8 kSoh = 0x01;
constexpr quint8 kAck = 0x06;
constexpr quint8 kNak = 0x15;
constexpr quint8 kEtb = 0x17;
constexpr quint8 kCan = 0x18;
constexpr quint8 kEsc = 0x1B;
constexpr int kLongestMessage = 2 + 160;
constexpr int kLongestVersion = 64;
constexpr int kLongestIdentification = 32;
constexpr LineDirection kIn = LineDirection::FromDisplay;
} // namespace

bool AnswerParser::knownByte(quint8 i_cByte, Listener i_listener) {
    switch (i_listener) {
    case Listener::Display:
    case Listener::Vt100:
        return i_cByte == kAck || i_cByte == kNak;
    case Listener::XModem:
        return i_cByte == kAck || i_cByte == kNak || i_cByte == kCan || i_cByte == 'C';
    case Listener::Loader:
        return true;
    }
    return false;
}

void AnswerParser::Feed(quint8 i_cByte, quint64 i_lTag, Listener i_listener, bool i_blnBlockSent,
                        ProtocolEvents& o_events) {
    if (!m_run.Empty() && continueRun(i_cByte, i_lTag, i_listener, o_events)) {
        return;
    }
    // Only the first byte of an answer can begin the reply that was asked for.
    const Expect expect = std::exchange(m_expect, Expect::Nothing);
    if (beginExpected(expect, i_cByte, i_lTag)) {
        return;
    }
    feedDefault(i_cByte, i_lTag, i_listener, i_blnBlockSent, o_events);
}

bool AnswerParser::continueRun(quint8 i_cByte, quint64 i_lTag, Listener i_listener,
                               ProtocolEvents& o_events) {
    const EventKind kind = m_run.Kind();
    switch (kind) {
    case EventKind::MessageReply:
        m_run.Append(kind, i_cByte, i_lTag);
        if (i_cByte == kEtb) {
            m_run.End(kIn, o_events);
        } else if (m_run.Size() >= kLongestMessage) {
            m_run.End(kIn, o_events, ProtocolEvent::Incomplete);
        }
        return true;
    case EventKind::VersionReply:
        m_run.AddToRun(kind, i_cByte, i_lTag, kLongestVersion, kIn, o_events);
        return true;
    case EventKind::Identification:
        m_run.Append(kind, i_cByte, i_lTag);
        if (i_cByte == 'c') {
            m_run.End(kIn, o_events);
        } else if (m_run.Size() >= kLongestIdentification) {
            m_run.End(kIn, o_events, ProtocolEvent::Incomplete);
        }
        return true;
    case EventKind::ScreenReadBack:
        m_run.Append(kind, i_cByte, i_lTag);
        if (m_run.Size() >= kScreenCells) {
            m_run.End(kIn, o_events);
        }
        return true;
    case EventKind::LoaderPrompt:
        m_run.Append(kind, i_cByte, i_lTag);
        if (i_cByte == '>' || m_run.Size() >= kLongestTextRun) {
            m_run.End(kIn, o_events, i_cByte == '>' ? 0 : ProtocolEvent::Incomplete);
        }
        return true;
    default:
        // A run of unknown bytes goes on until a byte that means something.
        if (knownByte(i_cByte, i_listener)) {
            m_run.End(kIn, o_events);
            return false;
        }
        m_run.AddToRun(EventKind::Unknown, i_cByte, i_lTag, kLongestUnknownRun, kIn, o_events);
        return true;
    }
}

bool AnswerParser::beginExpected(Expect i_expect, quint8 i_cByte, quint64 i_lTag) {
    switch (i_expect) {
    case Expect::Message:
        if (i_cByte != kSoh) {
            return false;
        }
        m_run.Append(EventKind::MessageReply, i_cByte, i_lTag);
        return true;
    case Expect::Version:
        if (i_cByte == kAck || i_cByte == kNak) {
            return false;
        }
        m_run.Append(EventKind::VersionReply, i_cByte, i_lTag);
        return true;
    case Expect::Identification:
        if (i_cByte != kEsc) {
            return false;
        }
        m_run.Append(EventKind::Identification, i_cByte, i_lTag);
        return true;
    case Expect::Screen:
        m_run.Append(EventKind::ScreenReadBack, i_cByte, i_lTag);
        return true;
    case Expect::Nothing:
        break;
    }
    return false;
}

void AnswerParser::feedDefault(quint8 i_cByte, quint64 i_lTag, Listener i_listener,
                               bool i_blnBlockSent, ProtocolEvents& o_events) {
    switch (i_listener) {
    case Listener::Loader:
        m_run.Append(EventKind::LoaderPrompt, i_cByte, i_lTag);
        if (i_cByte == '>') {
            m_run.End(kIn, o_events);
        }
        return;
    case Listener::XModem:
        if (i_cByte == 'C') {
            single(EventKind::XModemStart, i_cByte, i_lTag, o_events, ProtocolEvent::Crc);
        } else if (i_cByte == kNak && !i_blnBlockSent) {
            single(EventKind::XModemStart, i_cByte, i_lTag, o_events);
        } else if (i_cByte == kCan) {
            single(EventKind::Cancel, i_cByte, i_lTag, o_events);
        } else if (i_cByte == kAck || i_cByte == kNak) {
            single(i_cByte == kAck ? EventKind::Acknowledge : EventKind::NegativeAcknowledge,
                   i_cByte, i_lTag, o_events);
        } else {
            m_run.Append(EventKind::Unknown, i_cByte, i_lTag);
        }
        return;
    case Listener::Display:
    case Listener::Vt100:
        if (i_cByte == kAck || i_cByte == kNak) {
            single(i_cByte == kAck ? EventKind::Acknowledge : EventKind::NegativeAcknowledge,
                   i_cByte, i_lTag, o_events);
        } else {
            m_run.Append(EventKind::Unknown, i_cByte, i_lTag);
        }
        return;
    }
}

void AnswerParser::single(EventKind i_kind, quint8 i_cByte, quint64 i_lTag,
                          ProtocolEvents& o_events, quint8 i_flags) {
    m_run.End(kIn, o_events);
    m_run.Append(i_kind, i_cByte, i_lTag);
    m_run.End(kIn, o_events, i_flags);
}

void AnswerParser::EndRuns(ProtocolEvents& o_events) {
    const bool cutShort =
        m_run.Kind() == EventKind::MessageReply || m_run.Kind() == EventKind::Identification ||
        m_run.Kind() == EventKind::ScreenReadBack || m_run.Kind() == EventKind::LoaderPrompt;
    m_run.End(kIn, o_events, cutShort ? ProtocolEvent::Incomplete : 0);
}
