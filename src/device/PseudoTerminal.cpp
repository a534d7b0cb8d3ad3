#include "device/PseudoTerminal.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace PseudoTerminal {

bool Is(const QString& i_sPath) {
#ifdef Q_OS_LINUX
    struct stat st {};
    const QByteArray path = QFile::encodeName(i_sPath);
    if (::stat(path.constData(), &st) != 0 || !S_ISCHR(st.st_mode)) {
        return false;
    }
    // Unix98 pseudo-terminal slaves use majors 136 to 143; the legacy ones 3.
    const unsigned int maj = major(st.st_rdev);
    return (maj >= 136 && maj <= 143) || maj == 3;
#else
    Q_UNUSED(i_sPath);
    return false;
#endif
}

QString Note(const QString& i_sPath) {
    return QStringLiteral("%1 is a pseudo-terminal: it carries 8 data bits and no parity whatever "
                          "is asked.")
        .arg(i_sPath);
}

} // namespace PseudoTerminal
