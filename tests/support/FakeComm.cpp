#include "support/FakeComm.h"

#include "core/common/LumoError.h"
#include "core/protocol/modLumo.h"
#include "core/serial/SerialSettings.h"

QString Hex(const QByteArray& i_bBytes) {
    return QString::fromLatin1(i_bBytes.toHex(' ')).toUpper();
}

void FakeComm::setCommPort(qint16 i_iPort) {
    if (m_blnOpen) {
        throw LumoError(LumoErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
    }
    if (i_iPort < 1) {
        throw LumoError(LumoErrorNumber::InvalidPortNumber, QStringLiteral("Invalid port number"));
    }
    m_iPort = i_iPort;
}

void FakeComm::setSettings(const QString& i_sSettings) {
    if (!SerialSettings::Parse(i_sSettings)) {
        throw LumoError(LumoErrorNumber::InvalidValue, QStringLiteral("Invalid port settings"));
    }
    m_sSettings = i_sSettings;
}

void FakeComm::setPortOpen(bool i_blnOpen) {
    if (i_blnOpen) {
        if (m_blnOpen) {
            throw LumoError(LumoErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
        }
        if (failOpen || m_iPort < 1) {
            throw LumoError(LumoErrorNumber::PortUnavailable, openFailure);
        }
        m_blnOpen = true;
        ++opens;
        journal << QStringLiteral("open %1 %2")
                       .arg(devicePath.isEmpty() ? QString::number(m_iPort) : devicePath,
                            m_sSettings);
    } else if (m_blnOpen) {
        m_blnOpen = false;
        ++closes;
        journal << QStringLiteral("close");
        if (!closeFailure.isEmpty()) {
            throw LumoError(LumoErrorNumber::WriteFailed, closeFailure);
        }
    }
}

void FakeComm::requireOpen() const {
    if (!m_blnOpen) {
        throw LumoError(LumoErrorNumber::PortNotOpen, QStringLiteral("the port is not open"));
    }
}

void FakeComm::release() {
    const qint64 now = modLumo::Clock().NowMs();
    while (!m_pending.empty() && m_pending.front().at <= now) {
        m_bArrived += m_pending.front().bytes;
        m_pending.pop_front();
    }
}

int FakeComm::InBufferCount() {
    requireOpen();
    if (deadAfterOpen) {
        m_blnOpen = false;
        journal << QStringLiteral("dead");
        requireOpen();
    }
    release();
    return static_cast<int>(m_bArrived.size());
}

QByteArray FakeComm::Input() {
    requireOpen();
    release();
    QByteArray out;
    out.swap(m_bArrived);
    return out;
}

void FakeComm::Output(const QByteArray& i_bData) {
    requireOpen();
    if (deadAtWrite == writes.size()) {
        m_blnOpen = false; // the line died: the component closed itself
        journal << QStringLiteral("dead");
        throw LumoError(LumoErrorNumber::WriteFailed, QStringLiteral("Write failed"));
    }
    writes << i_bData;
    journal << QStringLiteral("write %1").arg(Hex(i_bData));
    if (onOutput) {
        onOutput(*this, i_bData);
    }
}

void FakeComm::Queue(const QByteArray& i_bBytes, qint64 i_lDelayMs) {
    const qint64 at = modLumo::Clock().NowMs() + i_lDelayMs;
    auto it = m_pending.begin();
    while (it != m_pending.end() && it->at <= at) {
        ++it;
    }
    m_pending.insert(it, Pending{at, i_bBytes});
}

void FakeComm::AnswerFrames(const QByteArray& i_bReply, qint64 i_lDelayMs) {
    onOutput = [i_bReply, i_lDelayMs](FakeComm& comm, const QByteArray& bytes) {
        if (bytes.startsWith("\x04\x01")) {
            comm.Queue(i_bReply, i_lDelayMs);
        }
    };
}

QByteArray FakeComm::Written() const {
    return writes.join();
}
