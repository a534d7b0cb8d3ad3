#pragma once

#include "core/protocol/ProtocolDecoder.h"

#include <QString>
#include <QVector>

// One line of the display's journal: a stretch of the line and what it means.
struct LogEntry {
    ProtocolEvent event;

    // "→ 04 01 49 34 17  set international code 4: Denmark I" for bytes received, "← 06  ACK"
    // for the display's answers; runs of more than 48 bytes are shortened to their head and
    // tail.
    QString ToString() const;
};

// The display's journal of what it received and answered, decoded by the program's own line
// decoder, so that both ends of the line name the same bytes in the same words.
class ByteLog {
public:
    explicit ByteLog(LineContext i_context = LineContext::Display);

    void Received(const QByteArray& i_bBytes);
    void Answered(const QByteArray& i_bBytes);

    // The entries that have ended, oldest first; the oldest are dropped beyond kMaxEntries.
    const QVector<LogEntry>& Entries() const { return m_entries; }
    // How many entries have ended since the start, the dropped ones included.
    quint64 Total() const { return m_lTotal; }
    // What is still under way (a message typed key by key), as it would end now.
    QVector<LogEntry> Pending() const;
    // Entries() followed by Pending().
    QVector<LogEntry> All() const;

    static constexpr int kMaxEntries = 5000;

private:
    void take(const ProtocolEvents& i_events);

    ProtocolDecoder m_decoder;
    QVector<LogEntry> m_entries;
    quint64 m_lTotal = 0;
};
