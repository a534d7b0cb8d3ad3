#pragma once

#include <QString>

// Pseudo-terminals stand in for serial lines (the display simulator runs on one). A Linux
// pseudo-terminal carries 8 data bits and no parity whatever is asked, so the framing of the
// settings text is not checked on one, and the technician is told why.
namespace PseudoTerminal {

// True when i_sPath names the slave side of a pseudo-terminal.
bool Is(const QString& i_sPath);

// What the technician is told about i_sPath being one.
QString Note(const QString& i_sPath);

} // namespace PseudoTerminal
