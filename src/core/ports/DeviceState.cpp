#include "core/ports/DeviceState.h"

#include "core/ports/DeviceSource.h"
#include "core/ports/LockFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace DeviceState {
namespace {

QString deviceName(const QString& i_sPath) {
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? i_sPath : real).fileName();
}

} // namespace

QStringList ConsoleNames() {
    QStringList names;
    for (const QString& file : DeviceSource::Current().ConsoleFiles()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        const bool onePerLine = file.endsWith(QLatin1String("consoles"));
        const QString text = QString::fromLocal8Bit(f.readAll());
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < words.size() && (i == 0 || !onePerLine); ++i) {
                if (!names.contains(words[i])) {
                    names << words[i];
                }
            }
        }
    }
    return names;
}

SerialDevice::State Of(const QString& i_sPath, const QString& i_sAlias, qint64& o_lPid) {
    o_lPid = 0;
    const QByteArray path = QFile::encodeName(i_sPath);
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        return SerialDevice::State::Absent;
    }
#endif
    if (ConsoleNames().contains(deviceName(i_sPath))) {
        return SerialDevice::State::Console;
    }
    if (const qint64 pid = LockFile::Of(i_sPath, i_sAlias).pid) {
        o_lPid = pid;
        return SerialDevice::State::Busy;
    }
#ifdef Q_OS_UNIX
    if (::access(path.constData(), R_OK | W_OK) != 0) {
        return SerialDevice::State::NoPermission;
    }
#endif
    return SerialDevice::State::Free;
}

namespace {

// Unix98 pseudo-terminal slaves use majors 136 to 143; the legacy ones 3.
bool ptyMajor(unsigned int i_iMajor) {
    return (i_iMajor >= 136 && i_iMajor <= 143) || i_iMajor == 3;
}

} // namespace

bool IsPseudoTerminal(const QString& i_sPath) {
#ifdef Q_OS_UNIX
    struct stat st {};
    const QByteArray path = QFile::encodeName(i_sPath);
    return ::stat(path.constData(), &st) == 0 && S_ISCHR(st.st_mode) && ptyMajor(major(st.st_rdev));
#else
    Q_UNUSED(i_sPath);
    return false;
#endif
}

bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy) {
#ifdef Q_OS_UNIX
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
#else
    Q_UNUSED(i_sPath);
    o_sWhy.clear();
    return true;
#endif
}

} // namespace DeviceState
