#include "core/protocol/PendingEvent.h"

void PendingEvent::Append(EventKind i_kind, quint8 i_cByte, quint64 i_lTag) {
    if (m_bBytes.isEmpty()) {
        m_lTag = i_lTag;
    }
    m_kind = i_kind;
    m_bBytes.append(static_cast<char>(i_cByte));
}

void PendingEvent::AddToRun(EventKind i_kind, quint8 i_cByte, quint64 i_lTag, int i_iLongest,
                            LineDirection i_direction, ProtocolEvents& o_events) {
    if (!m_bBytes.isEmpty() && (m_kind != i_kind || m_bBytes.size() >= i_iLongest)) {
        End(i_direction, o_events);
    }
    Append(i_kind, i_cByte, i_lTag);
}

void PendingEvent::EndAs(EventKind i_kind, LineDirection i_direction, ProtocolEvents& o_events,
                         quint8 i_flags) {
    ProtocolEvent event;
    event.direction = i_direction;
    event.kind = i_kind;
    event.flags = i_flags;
    event.bytes = m_bBytes;
    event.tag = m_lTag;
    o_events.push_back(std::move(event));
    m_bBytes.clear();
}

void PendingEvent::End(LineDirection i_direction, ProtocolEvents& o_events, quint8 i_flags) {
    if (!m_bBytes.isEmpty()) {
        EndAs(m_kind, i_direction, o_events, i_flags);
    }
}
