#pragma once

#include <QByteArray>

// The receiving end of an XModem transfer with 128-byte blocks: it asks for the file with NAK
// (8-bit checksum) or "C" (CRC-16/XMODEM), checks each block's number, its complement and
// its trailer, answers ACK or NAK, and answers ACK to EOT. Fault settings make it misbehave
// on purpose at a chosen block.
class XModemReceiver {
public:
    struct Faults {
        // NAK the first N good blocks.
        int nakFirstBlocks = 0;
        // Answer CAN instead of ACK to block K (1-based; 0 never).
        int cancelAtBlock = 0;
        // From block K on, answer nothing at all.
        int silentAtBlock = 0;
        // Answer "C" ACK (in one write) to block K, once.
        int cBeforeAckAtBlock = 0;
    };

    enum class State { Receiving, Complete, Cancelled, Silent };

    struct Step {
        QByteArray answer;
        // Set when a block, EOT or CAN has been dealt with.
        bool ended = false;
    };

    XModemReceiver(bool i_blnCrc, const Faults& i_faults);

    // The start request, sent on entering the receiver and repeated until the first block.
    QByteArray StartRequest() const;
    bool WantsStart() const {
        return m_state == State::Receiving && m_iBlocks == 0 && m_bBlock.isEmpty();
    }

    Step Feed(quint8 i_cByte);

    // True while a block is half received (its bytes may be anything).
    bool MidBlock() const { return !m_bBlock.isEmpty(); }

    State CurrentState() const { return m_state; }
    bool Crc() const { return m_blnCrc; }
    // Blocks accepted so far, and the data they carried (with the padding of the last).
    int BlocksAccepted() const { return m_iBlocks; }
    const QByteArray& Image() const { return m_bImage; }
    int Refusals() const { return m_iRefusals; }

private:
    int blockLength() const { return m_blnCrc ? 133 : 132; }
    Step judgeBlock();
    Step refuse();
    // Ends the block under way with this answer (none when the receiver is silent).
    Step answerBlock(const QByteArray& i_bAnswer);

    bool m_blnCrc;
    Faults m_faults;
    State m_state = State::Receiving;
    QByteArray m_bBlock;
    QByteArray m_bImage;
    int m_iBlocks = 0;
    int m_iGoodSeen = 0;
    int m_iRefusals = 0;
    bool m_blnCBeforeAckDone = false;
};
