#pragma once

#include <QByteArray>
#include <termios.h>

// The line speed of the simulated display. A pseudo-terminal carries bytes at no speed at all,
// but it keeps the speed the program set on its side, and the master side can read it: the
// simulator compares it with its own and, when they differ, hears what a display at the wrong
// speed hears.
namespace LineSpeed {

// The speed (baud) the program set on its side of the pseudo-terminal, read through the
// master descriptor; 0 when it cannot be read.
int Of(int i_iMasterFd);

// The speed (baud) of a termios speed code; 0 for a code without one here.
int OfCode(speed_t i_code);

// What a display at another speed than the sender's makes of the bytes: every byte arrives as
// a different one with its top bit set, as framing errors leave it, so no command and no
// control byte comes through. The same bytes always give the same result.
QByteArray Garble(const QByteArray& i_bBytes);

// The speed a code of the native "B" command sets: '0' 19200, '1' 9600, '2' 4800, '3' 2400,
// '4' 1200, '5' 600, '6' 38400 (the program sends '6' for 38400; the display's own table
// names 300 beside it, a rate no list of the program offers). 0 for any other code.
int OfBaudCode(char i_cCode);

} // namespace LineSpeed
