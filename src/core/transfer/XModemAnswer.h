#pragma once

#include <QByteArray>

// What the receiver's answer to a block means. Only the first byte can cancel; a "C" in
// first place is a late start request and makes the whole read count for nothing; otherwise
// an ACK anywhere accepts the block and anything else asks for it again.
namespace XModemAnswer {

enum class Meaning {
    Accepted,  // ACK first, or an ACK behind other bytes
    Cancelled, // CAN first
    Ignored,   // "C" first: the read is dropped, the block is not written again
    Rejected,  // NAK or anything else: write the block again at once
};

Meaning Classify(const QByteArray& i_bAnswer);

} // namespace XModemAnswer
