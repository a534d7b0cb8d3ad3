#pragma once

#include <QString>

// What lumoq4ctl asks of its standard streams and of a file named on its command line, the
// platform's way (isatty and stat on Linux, the C runtime's _isatty on Windows).
namespace ConsoleStreams {

// True when standard input is a terminal that a person types into.
bool InputIsTerminal();

// True when standard error is shown on a terminal (progress lines may be redrawn there).
bool ErrorIsTerminal();

// True when i_sFile exists and is neither a regular file nor a pipe (a device such as
// /dev/zero), so that reading it may never end.
bool IsSpecialFile(const QString& i_sFile);

} // namespace ConsoleStreams
