#include "ctl/ConsoleStreams.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace ConsoleStreams {

bool InputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

bool ErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool IsSpecialFile(const QString& i_sFile) {
    struct stat info = {};
    return ::stat(QFile::encodeName(i_sFile).constData(), &info) == 0 && !S_ISREG(info.st_mode) &&
           !S_ISFIFO(info.st_mode);
}

} // namespace ConsoleStreams
