#include "core/ports/NativeDevice.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Unix98 pseudo-terminal slaves use majors 136 to 143; the legacy ones 3.
bool ptyMajor(unsigned int i_iMajor) {
    return (i_iMajor >= 136 && i_iMajor <= 143) || i_iMajor == 3;
}

} // namespace

namespace NativeDevice {

bool Present(const QString& i_sPath) {
    struct stat st {};
    return ::stat(QFile::encodeName(i_sPath).constData(), &st) == 0;
}

bool ReadWritable(const QString& i_sPath) {
    return ::access(QFile::encodeName(i_sPath).constData(), R_OK | W_OK) == 0;
}

bool IsPseudoTerminal(const QString& i_sPath) {
    struct stat st {};
    const QByteArray path = QFile::encodeName(i_sPath);
    return ::stat(path.constData(), &st) == 0 && S_ISCHR(st.st_mode) && ptyMajor(major(st.st_rdev));
}

bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy) {
    const QByteArray path = QFile::encodeName(i_sPath);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        o_sWhy =
            QStringLiteral("%1: %2").arg(i_sPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISCHR(st.st_mode)) {
        o_sWhy = QStringLiteral("%1: not a device").arg(i_sPath);
        return false;
    }
    const unsigned int maj = major(st.st_rdev);
    // Pseudo-terminal slaves have no entry in the device database; every other terminal is of
    // the class "tty" there.
    const bool pty = ptyMajor(maj);
    const QString entry =
        QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(maj).arg(minor(st.st_rdev));
    if (!pty &&
        QFileInfo(QFileInfo(entry).canonicalFilePath()).fileName() != QLatin1String("tty")) {
        o_sWhy = QStringLiteral("%1: not a terminal device").arg(i_sPath);
        return false;
    }
    return true;
}

bool ProcessAlive(qint64 i_lPid) {
    return i_lPid > 0 && (::kill(static_cast<pid_t>(i_lPid), 0) == 0 || errno == EPERM);
}

QString DefaultPath(int i_iPort) {
    return QStringLiteral("/dev/ttyS%1").arg(i_iPort - 1);
}

} // namespace NativeDevice
