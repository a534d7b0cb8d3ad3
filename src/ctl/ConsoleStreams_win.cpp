#include "ctl/ConsoleStreams.h"

#include <QFileInfo>

#include <cstdio>
#include <io.h>

namespace ConsoleStreams {

bool InputIsTerminal() {
    return ::_isatty(::_fileno(stdin)) != 0;
}

bool ErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

// Devices (CON, NUL, COM1) are not files of a folder.
bool IsSpecialFile(const QString& i_sFile) {
    const QFileInfo info(i_sFile);
    return info.exists() && !info.isFile();
}

} // namespace ConsoleStreams
