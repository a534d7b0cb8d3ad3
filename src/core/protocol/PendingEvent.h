#pragma once

#include "core/protocol/ProtocolEvent.h"

#include <vector>

using ProtocolEvents = std::vector<ProtocolEvent>;

// The longest run of text (or cells, or pass-through bytes) in one event: a 4x40 screen.
constexpr int kLongestTextRun = 160;
// The longest run of bytes that fit nothing in one event.
constexpr int kLongestUnknownRun = 64;

// The bytes of an event that has begun but not ended, with the tag of its first byte.
class PendingEvent {
public:
    bool Empty() const { return m_bBytes.isEmpty(); }
    int Size() const { return static_cast<int>(m_bBytes.size()); }
    const QByteArray& Bytes() const { return m_bBytes; }
    quint8 At(int i_iIndex) const { return static_cast<quint8>(m_bBytes.at(i_iIndex)); }
    EventKind Kind() const { return m_kind; }
    quint64 Tag() const { return m_lTag; }

    // Starts the event with i_cByte, or adds the byte to it.
    void Append(EventKind i_kind, quint8 i_cByte, quint64 i_lTag);

    // Adds i_cByte to a run of i_kind bytes (text, unknown bytes...). A run of another kind,
    // or one that already holds i_iLongest bytes, ends first.
    void AddToRun(EventKind i_kind, quint8 i_cByte, quint64 i_lTag, int i_iLongest,
                  LineDirection i_direction, ProtocolEvents& o_events);

    // Ends the event as i_kind: it goes to o_events and the collector is empty again.
    void EndAs(EventKind i_kind, LineDirection i_direction, ProtocolEvents& o_events,
               quint8 i_flags = 0);
    // Ends it as its own kind, if it holds anything.
    void End(LineDirection i_direction, ProtocolEvents& o_events, quint8 i_flags = 0);

private:
    EventKind m_kind = EventKind::Unknown;
    QByteArray m_bBytes;
    quint64 m_lTag = 0;
};
