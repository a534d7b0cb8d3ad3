#pragma once

#include <QtGlobal>

// What the caller knows about the line that its bytes cannot tell: which command set the
// display is listening with. ProtocolDecoder::SetContext takes it as a hint.
enum class LineContext : quint8 {
    Display,        // the display's native and EPSON command sets and its text
    Vt100,          // the display in VT100 terminal mode
    Loader,         // the firmware loader's dialogue
    XModemChecksum, // an XModem transfer with 8-bit checksum blocks
    XModemCrc,      // an XModem transfer with CRC-16 blocks
};
