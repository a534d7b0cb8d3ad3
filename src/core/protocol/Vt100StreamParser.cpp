#include "core/protocol/Vt100StreamParser.h"

namespace {
constexpr quint8 kEsc = 0x1B;
constexpr LineDirection kOut = LineDirection::ToDisplay;
} // namespace

bool Vt100StreamParser::IsNumber(const QByteArray& i_bText) {
    int i = 0;
    const int size = static_cast<int>(i_bText.size());
    while (i < size && i_bText[i] == ' ') {
        ++i;
    }
    if (i < size && (i_bText[i] == '+' || i_bText[i] == '-')) {
        ++i;
    }
    int digits = 0;
    while (i < size && i_bText[i] >= '0' && i_bText[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < size && i_bText[i] == '.') {
        ++i;
        while (i < size && i_bText[i] >= '0' && i_bText[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    const bool empty = i_bText.isEmpty();
    if (digits == 0 && !empty) {
        return false;
    }
    while (i < size && i_bText[i] == ' ') {
        ++i;
    }
    return i == size;
}

void Vt100StreamParser::CursorParameters(const QByteArray& i_bBody, QByteArray& o_bLine,
                                         QByteArray& o_bColumn) {
    const auto semicolon = i_bBody.indexOf(';');
    const bool final = i_bBody.endsWith('H');
    o_bLine = i_bBody.mid(1, semicolon - 1);
    o_bColumn = i_bBody.mid(semicolon + 1, i_bBody.size() - semicolon - 1 - (final ? 1 : 0));
}

Vt100StreamParser::Verdict Vt100StreamParser::judgeBracket(const QByteArray& i_bBody) {
    if (i_bBody == "[2J" || i_bBody == "[0K" || i_bBody == "[0c") {
        return Verdict::Done;
    }
    if (!i_bBody.contains(';')) {
        return IsNumber(i_bBody.mid(1)) ? Verdict::Wait : Verdict::Unknown;
    }
    QByteArray line;
    QByteArray column;
    CursorParameters(i_bBody, line, column);
    if (!IsNumber(line) || !IsNumber(column)) {
        return Verdict::Unknown;
    }
    return i_bBody.endsWith('H') ? Verdict::Done : Verdict::Wait;
}

Vt100StreamParser::Verdict Vt100StreamParser::judge(const QByteArray& i_bBody) {
    switch (i_bBody[0]) {
    case '[':
        return judgeBracket(i_bBody);
    case 'T':
        return Verdict::Done;
    case 'B':
        if (i_bBody.size() < 2) {
            return Verdict::Wait;
        }
        return i_bBody[1] >= '0' && i_bBody[1] <= '3' ? Verdict::Done : Verdict::Unknown;
    case 'R':
        if (i_bBody.size() < 2) {
            return Verdict::Wait;
        }
        return static_cast<quint8>(i_bBody[1]) <= 12 ? Verdict::Done : Verdict::Unknown;
    default:
        return Verdict::Unknown;
    }
}

void Vt100StreamParser::Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (!m_escape.Empty()) {
        m_escape.Append(EventKind::Vt100, i_cByte, i_lTag);
        const Verdict verdict = judge(m_escape.Bytes().mid(1));
        if (verdict == Verdict::Done) {
            end(EventKind::Vt100, o_events);
        } else if (verdict == Verdict::Unknown || m_escape.Size() >= kLongestSequence) {
            end(EventKind::Unknown, o_events);
        }
        return;
    }
    if (i_cByte == kEsc) {
        m_escape.Append(EventKind::Vt100, i_cByte, i_lTag);
    } else if (i_cByte == 0x08 || i_cByte == 0x0A || i_cByte == 0x0D) {
        m_escape.Append(EventKind::Vt100, i_cByte, i_lTag);
        end(EventKind::Vt100, o_events);
    } else {
        m_run.AddToRun(EventKind::Text, i_cByte, i_lTag, kLongestTextRun, kOut, o_events);
    }
}

void Vt100StreamParser::end(EventKind i_kind, ProtocolEvents& o_events) {
    m_run.End(kOut, o_events);
    m_escape.EndAs(i_kind, kOut, o_events);
}

void Vt100StreamParser::EndRuns(ProtocolEvents& o_events) {
    m_run.End(kOut, o_events);
}

void Vt100StreamParser::Flush(ProtocolEvents& o_events) {
    EndRuns(o_events);
    if (!m_escape.Empty()) {
        m_escape.EndAs(EventKind::Unknown, kOut, o_events, ProtocolEvent::Incomplete);
    }
}
