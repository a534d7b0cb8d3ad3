#include "XModemReceiver.h"

#include "core/protocol/modLumo.h"

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
                return {QByteArray(), true};
            }
            m_state = State::Complete;
            return {QByteArray(1, static_cast<char>(kAck)), true};
        }
        if (i_cByte == kCan) {
            m_state = State::Cancelled;
            return {QByteArray(), true};
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

XModemReceiver::Step XModemReceiver::refuse() {
    ++m_iRefusals;
    return answerBlock(QByteArray(1, static_cast<char>(kNak)));
}

XModemReceiver::Step XModemReceiver::answerBlock(const QByteArray& i_bAnswer) {
    m_bBlock.clear();
    return {i_bAnswer, true};
}

XModemReceiver::Step XModemReceiver::judgeBlock() {
    const auto number = static_cast<quint8>(m_bBlock[1]);
    const auto complement = static_cast<quint8>(m_bBlock[2]);
    const QByteArray data = m_bBlock.mid(3, 128);
    if (m_state == State::Silent) {
        return answerBlock(QByteArray());
    }
    if (static_cast<quint8>(number + complement) != 0xFF) {
        return refuse();
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
        return refuse();
    }
    const auto expected = static_cast<quint8>((m_iBlocks + 1) & 0xFF);
    const auto previous = static_cast<quint8>(m_iBlocks & 0xFF);
    if (number == previous && m_iBlocks > 0) {
        // The sender did not see our ACK and sent the block again.
        return answerBlock(QByteArray(1, static_cast<char>(kAck)));
    }
    if (number != expected) {
        return refuse();
    }
    const int index = m_iBlocks + 1;
    if (m_faults.silentAtBlock > 0 && index >= m_faults.silentAtBlock) {
        m_state = State::Silent;
        return answerBlock(QByteArray());
    }
    if (m_iGoodSeen < m_faults.nakFirstBlocks) {
        ++m_iGoodSeen;
        return refuse(); // a good block, refused on purpose
    }
    if (m_faults.cancelAtBlock > 0 && index == m_faults.cancelAtBlock) {
        m_state = State::Cancelled;
        return answerBlock(QByteArray(1, static_cast<char>(kCan)));
    }
    m_iBlocks = index;
    m_bImage += data;
    if (m_faults.cBeforeAckAtBlock == index && !m_blnCBeforeAckDone) {
        m_blnCBeforeAckDone = true;
        return answerBlock(QByteArray("C\x06", 2));
    }
    return answerBlock(QByteArray(1, static_cast<char>(kAck)));
}
