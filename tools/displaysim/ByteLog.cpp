#include "ByteLog.h"

#include "core/protocol/DisplayText.h"
#include "core/protocol/EventMeaning.h"

QString LogEntry::ToString() const {
    const QByteArray& bytes = event.bytes;
    QString line =
        event.direction == LineDirection::ToDisplay ? QStringLiteral("→ ") : QStringLiteral("← ");
    // An XModem block is 132 or 133 bytes: its head and tail say enough.
    constexpr int kLongest = 48;
    if (bytes.size() > kLongest) {
        line += DisplayText::Hex(bytes.left(6)) + QStringLiteral(" .. ") +
                DisplayText::Hex(bytes.right(2)) + QStringLiteral(" (%1 bytes)").arg(bytes.size());
    } else {
        line += DisplayText::Hex(bytes);
    }
    return line + QStringLiteral("  ") + EventMeaning::Of(event);
}

ByteLog::ByteLog(LineContext i_context) : m_decoder(i_context) {}

void ByteLog::Received(const QByteArray& i_bBytes) {
    take(m_decoder.Feed(LineDirection::ToDisplay, i_bBytes));
}

void ByteLog::Answered(const QByteArray& i_bBytes) {
    take(m_decoder.Feed(LineDirection::FromDisplay, i_bBytes));
}

void ByteLog::take(const ProtocolEvents& i_events) {
    for (const ProtocolEvent& event : i_events) {
        if (m_entries.size() >= kMaxEntries) {
            m_entries.remove(0, m_entries.size() - kMaxEntries + 1);
        }
        m_entries.push_back(LogEntry{event});
        ++m_lTotal;
    }
}

QVector<LogEntry> ByteLog::Pending() const {
    QVector<LogEntry> pending;
    for (const ProtocolEvent& event : m_decoder.Peek()) {
        pending.push_back(LogEntry{event});
    }
    return pending;
}

QVector<LogEntry> ByteLog::All() const {
    return m_entries + Pending();
}
