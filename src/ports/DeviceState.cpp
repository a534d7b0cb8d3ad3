#include "ports/DeviceState.h"

#include "ports/DeviceSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace DeviceState {
namespace {

QString lockName(const QString& i_sPath) {
    QString name = i_sPath;
    if (name.startsWith(QLatin1String("/dev/"))) {
        name.remove(0, 5);
    }
    return QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

// The process id a lock file names: text (possibly padded) on its first line, or a binary
// int of four bytes as very old programs wrote it.
qint64 lockPid(QFile& io_file) {
    const QByteArray content = io_file.read(64);
    bool ok = false;
    const qint64 pid = content.split('\n').value(0).trimmed().toLongLong(&ok);
    if (ok) {
        return pid;
    }
    if (content.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary;
    }
    return 0;
}

bool alive(qint64 i_lPid) {
#ifdef Q_OS_UNIX
    return i_lPid > 0 && (::kill(static_cast<pid_t>(i_lPid), 0) == 0 || errno == EPERM);
#else
    Q_UNUSED(i_lPid);
    return false;
#endif
}

QString deviceName(const QString& i_sPath) {
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? i_sPath : real).fileName();
}

} // namespace

qint64 LockOwner(const QString& i_sPath) {
    const QString name = lockName(i_sPath);
    for (const QString& folder : DeviceSource::Current().LockFolders()) {
        QFile lock(QDir(folder).filePath(name));
        if (lock.open(QIODevice::ReadOnly)) {
            const qint64 pid = lockPid(lock);
            if (alive(pid)) {
                return pid;
            }
        }
    }
    return 0;
}

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
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    for (const QString& name : {i_sPath, real, i_sAlias}) {
        if (!name.isEmpty()) {
            if (const qint64 pid = LockOwner(name)) {
                o_lPid = pid;
                return SerialDevice::State::Busy;
            }
        }
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
