#include "ByteLog.h"

#include "DisplayCharset.h"

QString LogEntry::ToString() const {
    QString line = kind == Kind::Answer ? QStringLiteral("-> ") : QString();
    // An XModem block is 132 or 133 bytes: its head and tail say enough.
    constexpr int kLongest = 48;
    if (bytes.size() > kLongest) {
        line += DisplayCharset::Hex(bytes.left(6)) + QStringLiteral(" .. ") +
                DisplayCharset::Hex(bytes.right(2)) +
                QStringLiteral(" (%1 bytes)").arg(bytes.size());
    } else {
        line += DisplayCharset::Hex(bytes);
    }
    if (!meaning.isEmpty()) {
        line += QStringLiteral("  ") + meaning;
    }
    return line;
}

void ByteLog::AddCommand(const QByteArray& i_bBytes, const QString& i_sMeaning) {
    append(LogEntry::Kind::Command, i_bBytes, i_sMeaning);
}

void ByteLog::AddAnswer(const QByteArray& i_bBytes, const QString& i_sMeaning) {
    append(LogEntry::Kind::Answer, i_bBytes, i_sMeaning);
}

void ByteLog::AddText(const QByteArray& i_bBytes) {
    mergeOrAppend(LogEntry::Kind::Text, i_bBytes);
}

void ByteLog::AddPassThrough(const QByteArray& i_bBytes) {
    mergeOrAppend(LogEntry::Kind::PassThrough, i_bBytes);
}

void ByteLog::append(LogEntry::Kind i_kind, const QByteArray& i_bBytes, const QString& i_sMeaning) {
    if (m_entries.size() >= kMaxEntries) {
        m_entries.remove(0, m_entries.size() - kMaxEntries + 1);
    }
    m_entries.push_back(LogEntry{i_kind, i_bBytes, i_sMeaning});
}

void ByteLog::mergeOrAppend(LogEntry::Kind i_kind, const QByteArray& i_bBytes) {
    if (m_entries.isEmpty() || m_entries.back().kind != i_kind) {
        append(i_kind, QByteArray(), QString());
    }
    LogEntry& entry = m_entries.back();
    entry.bytes += i_bBytes;
    const QString text = DisplayCharset::Printable(entry.bytes);
    entry.meaning = i_kind == LogEntry::Kind::Text
                        ? QStringLiteral("text \"%1\"").arg(text)
                        : QStringLiteral("to aux device \"%1\"").arg(text);
}
