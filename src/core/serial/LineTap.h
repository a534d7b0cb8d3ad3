#pragma once

#include "core/protocol/LineContext.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <initializer_list>
#include <vector>

// One thing the serial component did: bytes written or read, an open (device path and
// settings text), a failed open (with the reason), a close, or the caller's word on what the
// display is listening with.
struct TapEvent {
    enum class Kind : quint8 { Written, Read, Opened, OpenFailed, Closed, Context };

    // Microseconds since the tap started, on a monotonic clock.
    qint64 usec = 0;
    Kind kind = Kind::Written;
    LineContext context = LineContext::Display;
    // The bytes (Written, Read); for the others their texts, one a line.
    QByteArray data;

    // Opened and OpenFailed: the device path and the settings text. OpenFailed and Closed: why
    // (empty for a close the program asked for).
    QString Path() const { return field(0); }
    QString Settings() const { return field(1); }
    QString Reason() const { return kind == Kind::Closed ? field(0) : field(2); }

private:
    QString field(int i_iIndex) const;
};

// Follows a tap. Called on the thread that records, right after each event: keep it cheap.
class LineTapListener {
public:
    virtual ~LineTapListener() = default;
    virtual void TapRecorded(const TapEvent& i_event) = 0;
    virtual void TapCleared() {}
};

// The record of everything that crossed the serial component: the newest kCapacity events in
// a ring, older ones counted as dropped. It is always on, so that a monitor opened after a
// failure still shows it. Reads and writes longer than kLongestPiece bytes are kept as several
// events with the same time, and the texts of an open, a failed open or a close are cut to
// kLongestPiece bytes in all, so that a full ring stays within a fixed size.
//
// Events are numbered from 0 in the order they were recorded; the numbers go on across Clear().
class LineTap {
public:
    static constexpr int kCapacity = 200000;
    static constexpr int kLongestPiece = 128;

    LineTap();
    LineTap(const LineTap&) = delete;
    LineTap& operator=(const LineTap&) = delete;

    // The program's tap, which the serial component records into.
    static LineTap& Shared();

    void Written(const QByteArray& i_bBytes);
    void Read(const QByteArray& i_bBytes);
    void Opened(const QString& i_sPath, const QString& i_sSettings);
    void OpenFailed(const QString& i_sPath, const QString& i_sSettings, const QString& i_sReason);
    void Closed(const QString& i_sReason = QString());
    void Context(LineContext i_context);

    // The number of the oldest event held, and of the next one to come.
    quint64 FirstNumber() const { return m_lNext - m_ring.size(); }
    quint64 NextNumber() const { return m_lNext; }
    int Size() const { return static_cast<int>(m_ring.size()); }
    // The event numbered i_lNumber, FirstNumber() <= i_lNumber < NextNumber().
    const TapEvent& At(quint64 i_lNumber) const;
    // Events pushed out of the ring since the last Clear().
    quint64 Dropped() const { return m_lDropped; }

    // Forgets every event held and the drop count.
    void Clear();

    // The clock time of an event.
    QDateTime ClockTime(qint64 i_lUsec) const;

    void AddListener(LineTapListener* i_pListener);
    void RemoveListener(LineTapListener* i_pListener);

private:
    // The texts, one a line, cut to kLongestPiece bytes in all.
    static QByteArray Texts(std::initializer_list<QString> i_texts);
    void bytes(TapEvent::Kind i_kind, const QByteArray& i_bBytes);
    void record(TapEvent::Kind i_kind, QByteArray i_bData, LineContext i_context, qint64 i_lUsec);
    qint64 now() const;

    std::vector<TapEvent> m_ring; // grows to kCapacity, then m_iOldest moves round it
    size_t m_iOldest = 0;
    quint64 m_lNext = 0;
    quint64 m_lDropped = 0;
    QElapsedTimer m_clock;
    QDateTime m_start;
    std::vector<LineTapListener*> m_listeners;
};
