#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One line of the display's journal: bytes that came in (or went out) and what they meant.
struct LogEntry {
    enum class Kind { Command, Text, PassThrough, Answer };

    Kind kind = Kind::Command;
    QByteArray bytes;
    QString meaning;

    // "04 01 49 34 17  set international code 4"; answers are marked with "->", and runs of
    // more than 48 bytes are shortened to their head and tail.
    QString ToString() const;
};

// The journal. Consecutive text (or pass-through) bytes are merged into one entry, so that a
// message written one byte per call still reads as one line.
class ByteLog {
public:
    void AddCommand(const QByteArray& i_bBytes, const QString& i_sMeaning);
    void AddText(const QByteArray& i_bBytes);
    void AddPassThrough(const QByteArray& i_bBytes);
    void AddAnswer(const QByteArray& i_bBytes, const QString& i_sMeaning);

    const QVector<LogEntry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

    // Oldest entries are dropped beyond this many.
    static constexpr int kMaxEntries = 5000;

private:
    void append(LogEntry::Kind i_kind, const QByteArray& i_bBytes, const QString& i_sMeaning);
    void mergeOrAppend(LogEntry::Kind i_kind, const QByteArray& i_bBytes);

    QVector<LogEntry> m_entries;
};
