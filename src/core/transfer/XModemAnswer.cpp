#include "core/transfer/XModemAnswer.h"

#include "core/transfer/XModemBlock.h"

namespace XModemAnswer {

Meaning Classify(const QByteArray& i_bAnswer) {
    if (i_bAnswer.isEmpty()) {
        return Meaning::Rejected;
    }
    switch (i_bAnswer.front()) {
    case XModemBlock::ACK:
        return Meaning::Accepted;
    case XModemBlock::CAN:
        return Meaning::Cancelled;
    case 'C':
        return Meaning::Ignored;
    default:
        return i_bAnswer.contains(XModemBlock::ACK) ? Meaning::Accepted : Meaning::Rejected;
    }
}

} // namespace XModemAnswer
