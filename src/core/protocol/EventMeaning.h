#pragma once

#include "core/protocol/ProtocolEvent.h"

#include <QString>

// The words for a decoded event, the same on both sides of the line: the program's line
// monitor and the simulated display's journal.
namespace EventMeaning {

// "set international code 4: Denmark I", "ACK", "block 3, CRC right", "text \"HELLO\"".
QString Of(const ProtocolEvent& i_event);

// NAKs, CANs, blocks with a wrong number or check, malformed frames and unknown bytes: what
// a technician looks for first.
bool StandsOut(const ProtocolEvent& i_event);

} // namespace EventMeaning
