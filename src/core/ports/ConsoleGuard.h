#pragma once

#include <QString>

// The rule that keeps the program out of the machine's console: a COMn that leads to a system
// console only because nothing maps it (no LUMOQ4_COMn, no "Ports"/"COMn" value; on many PCs
// COM1 is /dev/ttyS0, the console) is refused before it is opened. A console chosen on purpose,
// through the variable or the mapping, is used as chosen. The serial component applies it to
// every open of a COMn, so the window, lumoq4ctl and Find Display all keep to it.
namespace ConsoleGuard {

// True when COMn leads to a system console only by default.
bool DefaultsToConsole(int i_iPort);

// Why the port is refused: "COM1 leads to /dev/ttyS0, the system console, only because nothing
// maps it".
QString Refusal(int i_iPort);

} // namespace ConsoleGuard
