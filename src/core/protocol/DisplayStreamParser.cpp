#include "core/protocol/DisplayStreamParser.h"

namespace {
constexpr quint8 kSoh = 0x01;
constexpr quint8 kEot = 0x04;
constexpr quint8 kEtb = 0x17;
constexpr quint8 kEsc = 0x1B;
constexpr quint8 kUs = 0x1F;
constexpr quint8 kFullyLit = 0xB2;
constexpr int kLongestFrame = 6; // EOT SOH letter p1 p2 ETB
constexpr LineDirection kOut = LineDirection::ToDisplay;

bool epsonControl(quint8 i_cByte) {
    switch (i_cByte) {
    case 0x08: // BS
    case 0x09: // HT
    case 0x0A: // LF
    case 0x0B: // HOM
    case 0x0C: // CLR
    case 0x0D: // CR
    case 0x18: // CAN
        return true;
    default:
        return false;
    }
}
} // namespace

void DisplayStreamParser::Reset() {
    m_peripheral = Peripheral::Display;
}

void DisplayStreamParser::Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (m_sequence.Empty()) {
        feedFresh(i_cByte, i_lTag, o_events);
    } else if (m_sequence.At(0) == kEot) {
        feedFrame(i_cByte, i_lTag, o_events);
    } else {
        feedSequence(i_cByte, i_lTag, o_events);
    }
}

void DisplayStreamParser::EndRuns(ProtocolEvents& o_events) {
    m_run.End(kOut, o_events);
}

void DisplayStreamParser::Flush(ProtocolEvents& o_events) {
    EndRuns(o_events);
    if (!m_sequence.Empty()) {
        m_sequence.EndAs(EventKind::Unknown, kOut, o_events, ProtocolEvent::Incomplete);
    }
}

void DisplayStreamParser::run(EventKind i_kind, quint8 i_cByte, quint64 i_lTag,
                              ProtocolEvents& o_events) {
    const int longest = i_kind == EventKind::Unknown ? kLongestUnknownRun : kLongestTextRun;
    m_run.AddToRun(i_kind, i_cByte, i_lTag, longest, kOut, o_events);
}

void DisplayStreamParser::feedFresh(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (i_cByte == kEot || i_cByte == kEsc) {
        m_sequence.Append(EventKind::Unknown, i_cByte, i_lTag);
        return;
    }
    if (m_peripheral == Peripheral::AuxDevice) {
        run(EventKind::PassThrough, i_cByte, i_lTag, o_events);
        return;
    }
    if (i_cByte == kUs) {
        m_sequence.Append(EventKind::Unknown, i_cByte, i_lTag);
    } else if (epsonControl(i_cByte)) {
        m_run.End(kOut, o_events);
        m_sequence.Append(EventKind::Epson, i_cByte, i_lTag);
        m_sequence.End(kOut, o_events);
    } else if (i_cByte < 0x20) {
        run(EventKind::Unknown, i_cByte, i_lTag, o_events);
    } else if (i_cByte == kFullyLit) {
        run(EventKind::Cells, i_cByte, i_lTag, o_events);
    } else {
        run(EventKind::Text, i_cByte, i_lTag, o_events);
    }
}

void DisplayStreamParser::feedFrame(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (m_sequence.Size() == 1 && i_cByte != kSoh) {
        // A lone EOT: the display hands it to its other command sets, which ignore it.
        if (m_peripheral == Peripheral::AuxDevice) {
            const quint64 eotTag = m_sequence.Tag();
            m_sequence = PendingEvent();
            run(EventKind::PassThrough, kEot, eotTag, o_events);
        } else {
            m_run.End(kOut, o_events);
            m_sequence.EndAs(EventKind::Unknown, kOut, o_events);
        }
        Feed(i_cByte, i_lTag, o_events);
        return;
    }
    m_sequence.Append(EventKind::NativeFrame, i_cByte, i_lTag);
    if (i_cByte == kEtb && m_sequence.Size() > 3) {
        endSequence(EventKind::NativeFrame, o_events);
    } else if (m_sequence.Size() >= kLongestFrame) {
        endSequence(EventKind::NativeFrame, o_events, ProtocolEvent::Malformed);
    }
}

int DisplayStreamParser::ParametersWanted(quint8 i_cLead, quint8 i_cCode) {
    if (i_cLead == kEsc) {
        switch (i_cCode) {
        case '=':
        case 'R':
        case 't':
            return 1;
        case 'L':
            return 3; // "oad"
        default:
            return 0;
        }
    }
    switch (i_cCode) {
    case 'C':
    case 'r':
    case 'E':
        return 1;
    case '$':
        return 2;
    default:
        return 0;
    }
}

int DisplayStreamParser::parametersWanted() const {
    return m_sequence.Size() < 2 ? 0 : ParametersWanted(m_sequence.At(0), m_sequence.At(1));
}

bool DisplayStreamParser::knownSequence() const {
    const quint8 code = m_sequence.At(1);
    if (m_sequence.At(0) == kEsc) {
        if (code == 'L') {
            return m_sequence.Bytes().mid(2) == "oad";
        }
        return code == '@' || code == 'G' || code == 'S' || code == '=' || code == 'R' ||
               code == 't';
    }
    switch (code) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x0A:
    case 0x0D:
    case 'B':
    case '@':
    case 'C':
    case 'r':
    case 'E':
    case '$':
        return true;
    default:
        return false;
    }
}

void DisplayStreamParser::feedSequence(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    m_sequence.Append(EventKind::Unknown, i_cByte, i_lTag);
    if (m_peripheral == Peripheral::AuxDevice && m_sequence.Size() == 2 && i_cByte != '=' &&
        i_cByte != 'G' && i_cByte != 'S') {
        // Only the selections reach the display; the rest goes on to the aux device.
        const quint64 escapeTag = m_sequence.Tag();
        m_sequence = PendingEvent();
        run(EventKind::PassThrough, kEsc, escapeTag, o_events);
        run(EventKind::PassThrough, i_cByte, i_lTag, o_events);
        return;
    }
    if (m_sequence.Size() < 2 + parametersWanted()) {
        return;
    }
    if (!knownSequence()) {
        endSequence(EventKind::Unknown, o_events);
    } else if (m_sequence.At(1) == 'L') {
        endSequence(EventKind::LoaderCommand, o_events);
    } else {
        followPeripheral();
        endSequence(EventKind::Epson, o_events);
    }
}

void DisplayStreamParser::followPeripheral() {
    if (m_sequence.At(0) != kEsc) {
        return;
    }
    switch (m_sequence.At(1)) {
    case 'G':
        m_peripheral = Peripheral::AuxDevice;
        break;
    case 'S':
    case '@':
        m_peripheral = Peripheral::Display;
        break;
    case '=':
        // ESC = n: 1 the aux device, 2 the display, 3 both; anything else changes nothing.
        if (m_sequence.At(2) == 1) {
            m_peripheral = Peripheral::AuxDevice;
        } else if (m_sequence.At(2) == 2) {
            m_peripheral = Peripheral::Display;
        } else if (m_sequence.At(2) == 3) {
            m_peripheral = Peripheral::Both;
        }
        break;
    default:
        break;
    }
}

void DisplayStreamParser::endSequence(EventKind i_kind, ProtocolEvents& o_events, quint8 i_flags) {
    m_run.End(kOut, o_events);
    m_sequence.EndAs(i_kind, kOut, o_events, i_flags);
}
