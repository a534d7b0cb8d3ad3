#include "XModemReceiver.h"

#include "device/modLumo.h"

namespace {
constexpr quint8 kSoh = 0x01;
constexpr quint8 kEot = 0x04;
constexpr quint8 kAck = 0x06;
constexpr quint8 kNak = 0x15;
constexpr quint8 kCan = 0x18;
} // namespace

XModemReceiver::XModemReceiver(bool i_blnCrc, const Faults& i_faults)
    : m_blnCrc(i_blnCrc), m_faults(i_faults) {}

QByteArray XModemReceiver::StartRequest() const {
    return QByteArray(1, m_blnCrc ? 'C' : static_cast<char>(kNak));
}

XModemReceiver::Step XModemReceiver::Feed(quint8 i_cByte) {
    if (m_state != State::Receiving && m_state != State::Silent) {
        return {};
    }
    if (m_bBlock.isEmpty()) {
        if (i_cByte == kEot) {
            if (m_state == State::Silent) {
                return {QByteArray(), QStringLiteral("EOT, not answered (silent)"),
                        QByteArray(1, '\x04')};
            }
            m_state = State::Complete;
            return {QByteArray(1, static_cast<char>(kAck)),
                    QStringLiteral("EOT, transfer complete: %1 blocks").arg(m_iBlocks),
                    QByteArray(1, '\x04')};
        }
        if (i_cByte == kCan) {
            m_state = State::Cancelled;
            return {QByteArray(), QStringLiteral("CAN from the sender"), QByteArray(1, '\x18')};
        }
        if (i_cByte != kSoh) {
            // Line noise or the LF after the loader command: not part of a block.
            return {};
        }
    }
    m_bBlock.append(static_cast<char>(i_cByte));
    if (m_bBlock.size() < blockLength()) {
        return {};
    }
    return judgeBlock();
}

XModemReceiver::Step XModemReceiver::refuse(const QString& i_sWhy) {
    ++m_iRefusals;
    Step step{QByteArray(1, static_cast<char>(kNak)), i_sWhy, m_bBlock};
    m_bBlock.clear();
    return step;
}

XModemReceiver::Step XModemReceiver::judgeBlock() {
    const auto number = static_cast<quint8>(m_bBlock[1]);
    const auto complement = static_cast<quint8>(m_bBlock[2]);
    const QByteArray data = m_bBlock.mid(3, 128);
    const QString label = QStringLiteral("block %1").arg(number);
    if (m_state == State::Silent) {
        Step step{QByteArray(), label + QStringLiteral(", not answered (silent)"), m_bBlock};
        m_bBlock.clear();
        return step;
    }
    if (static_cast<quint8>(number + complement) != 0xFF) {
        return refuse(label + QStringLiteral(": bad complement, NAK"));
    }
    bool trailerOk = false;
    if (m_blnCrc) {
        const qint32 crc = modLumo::GetCRC16(data);
        trailerOk = static_cast<quint8>(m_bBlock[131]) == ((crc >> 8) & 0xFF) &&
                    static_cast<quint8>(m_bBlock[132]) == (crc & 0xFF);
    } else {
        trailerOk = static_cast<quint8>(m_bBlock[131]) == modLumo::GetCheckSum(data);
    }
    if (!trailerOk) {
        return refuse(label + (m_blnCrc ? QStringLiteral(": bad CRC, NAK")
                                        : QStringLiteral(": bad checksum, NAK")));
    }
    const auto expected = static_cast<quint8>((m_iBlocks + 1) & 0xFF);
    const auto previous = static_cast<quint8>(m_iBlocks & 0xFF);
    if (number == previous && m_iBlocks > 0) {
        // The sender did not see our ACK and sent the block again.
        Step step{QByteArray(1, static_cast<char>(kAck)), label + QStringLiteral(": repeated, ACK"),
                  m_bBlock};
        m_bBlock.clear();
        return step;
    }
    if (number != expected) {
        return refuse(label + QStringLiteral(": expected block %1, NAK").arg(expected));
    }
    const int index = m_iBlocks + 1;
    if (m_faults.silentAtBlock > 0 && index >= m_faults.silentAtBlock) {
        m_state = State::Silent;
        Step step{QByteArray(), label + QStringLiteral(", going silent (fault)"), m_bBlock};
        m_bBlock.clear();
        return step;
    }
    if (m_iGoodSeen < m_faults.nakFirstBlocks) {
        ++m_iGoodSeen;
        return refuse(label + QStringLiteral(": good, NAK anyway (fault)"));
    }
    if (m_faults.cancelAtBlock > 0 && index == m_faults.cancelAtBlock) {
        m_state = State::Cancelled;
        Step step{QByteArray(1, static_cast<char>(kCan)), label + QStringLiteral(", CAN (fault)"),
                  m_bBlock};
        m_bBlock.clear();
        return step;
    }
    m_iBlocks = index;
    m_bImage += data;
    QByteArray answer(1, static_cast<char>(kAck));
    QString meaning = label + QStringLiteral(" ok, ACK");
    if (m_faults.cBeforeAckAtBlock == index && !m_blnCBeforeAckDone) {
        m_blnCBeforeAckDone = true;
        answer = QByteArray("C\x06", 2);
        meaning = label + QStringLiteral(" ok, answered \"C\" ACK (fault)");
    }
    Step step{answer, meaning, m_bBlock};
    m_bBlock.clear();
    return step;
}
