#include "core/serial/LineTap.h"

#include <algorithm>

QString TapEvent::field(int i_iIndex) const {
    const QList<QByteArray> fields = data.split('\n');
    return i_iIndex < fields.size() ? QString::fromUtf8(fields.at(i_iIndex)) : QString();
}

LineTap::LineTap() : m_start(QDateTime::currentDateTime()) {
    m_clock.start();
}

LineTap& LineTap::Shared() {
    static LineTap tap;
    return tap;
}

qint64 LineTap::now() const {
    return m_clock.nsecsElapsed() / 1000;
}

QDateTime LineTap::ClockTime(qint64 i_lUsec) const {
    return m_start.addMSecs(i_lUsec / 1000);
}

void LineTap::Written(const QByteArray& i_bBytes) {
    bytes(TapEvent::Kind::Written, i_bBytes);
}

void LineTap::Read(const QByteArray& i_bBytes) {
    bytes(TapEvent::Kind::Read, i_bBytes);
}

void LineTap::bytes(TapEvent::Kind i_kind, const QByteArray& i_bBytes) {
    const qint64 usec = now();
    // Copies of at most kLongestPiece bytes: a piece never holds on to a larger buffer.
    for (qsizetype from = 0; from < i_bBytes.size(); from += kLongestPiece) {
        const qsizetype length = std::min<qsizetype>(kLongestPiece, i_bBytes.size() - from);
        record(i_kind, QByteArray(i_bBytes.constData() + from, length), LineContext::Display, usec);
    }
}

QByteArray LineTap::Texts(std::initializer_list<QString> i_texts) {
    // kLongestPiece bytes in all, the newlines between the texts included: a short text leaves
    // what it does not need to the longer ones. A text too long is cut at a character's start
    // and ends with "…", so that an event of texts is no larger than a piece of bytes.
    std::vector<QByteArray> texts;
    for (const QString& text : i_texts) {
        texts.push_back(text.toUtf8().replace('\n', ' ')); // a newline would end it early
    }
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&texts](size_t a, size_t b) { return texts[a].size() < texts[b].size(); });
    auto budget = static_cast<qsizetype>(kLongestPiece - (texts.size() - 1));
    const QByteArray ellipsis = QStringLiteral("\u2026").toUtf8();
    size_t left = texts.size();
    for (const size_t i : order) {
        QByteArray& bytes = texts[i];
        const qsizetype share = budget / static_cast<qsizetype>(left--);
        if (bytes.size() > share) {
            qsizetype end = share - ellipsis.size();
            while (end > 0 && (static_cast<quint8>(bytes.at(end)) & 0xC0) == 0x80) {
                --end; // not inside a character
            }
            bytes = bytes.left(end) + ellipsis;
        }
        budget -= bytes.size();
    }
    QByteArray data;
    for (const QByteArray& bytes : texts) {
        if (&bytes != &texts.front()) {
            data += '\n';
        }
        data += bytes;
    }
    return QByteArray(data.constData(), data.size()); // no spare capacity
}

void LineTap::Opened(const QString& i_sPath, const QString& i_sSettings) {
    record(TapEvent::Kind::Opened, Texts({i_sPath, i_sSettings}), LineContext::Display, now());
}

void LineTap::OpenFailed(const QString& i_sPath, const QString& i_sSettings,
                         const QString& i_sReason) {
    record(TapEvent::Kind::OpenFailed, Texts({i_sPath, i_sSettings, i_sReason}),
           LineContext::Display, now());
}

void LineTap::Closed(const QString& i_sReason) {
    record(TapEvent::Kind::Closed, Texts({i_sReason}), LineContext::Display, now());
}

void LineTap::Context(LineContext i_context) {
    record(TapEvent::Kind::Context, QByteArray(), i_context, now());
}

void LineTap::record(TapEvent::Kind i_kind, QByteArray i_bData, LineContext i_context,
                     qint64 i_lUsec) {
    TapEvent event{i_lUsec, i_kind, i_context, std::move(i_bData)};
    if (m_ring.size() < static_cast<size_t>(kCapacity)) {
        m_ring.push_back(std::move(event));
    } else {
        m_ring[m_iOldest] = std::move(event);
        m_iOldest = (m_iOldest + 1) % m_ring.size();
        ++m_lDropped;
    }
    ++m_lNext;
    if (m_listeners.empty()) {
        return;
    }
    const TapEvent& recorded = At(m_lNext - 1);
    // A listener may leave while it is told.
    const std::vector<LineTapListener*> listeners = m_listeners;
    for (LineTapListener* listener : listeners) {
        listener->TapRecorded(recorded);
    }
}

const TapEvent& LineTap::At(quint64 i_lNumber) const {
    const quint64 offset = i_lNumber - FirstNumber();
    return m_ring[(m_iOldest + offset) % m_ring.size()];
}

void LineTap::Clear() {
    std::vector<TapEvent>().swap(m_ring);
    m_iOldest = 0;
    m_lDropped = 0;
    const std::vector<LineTapListener*> listeners = m_listeners;
    for (LineTapListener* listener : listeners) {
        listener->TapCleared();
    }
}

void LineTap::AddListener(LineTapListener* i_pListener) {
    if (std::find(m_listeners.begin(), m_listeners.end(), i_pListener) == m_listeners.end()) {
        m_listeners.push_back(i_pListener);
    }
}

void LineTap::RemoveListener(LineTapListener* i_pListener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), i_pListener),
                      m_listeners.end());
}
