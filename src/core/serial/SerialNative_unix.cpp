#include "core/serial/SerialNative.h"

#include "core/serial/AppliedFraming.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

int fd(const QSerialPort& i_port) {
    return static_cast<int>(i_port.handle());
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace SerialNative {

void AfterOpen(QSerialPort& io_port) {
    Q_UNUSED(io_port);
}

bool NotApplied(const QSerialPort& i_port, const SerialSettings& i_wanted, QStringList& o_missing,
                QString& o_sError) {
    termios line{};
    if (::tcgetattr(fd(i_port), &line) != 0) {
        o_sError = systemError();
        return false;
    }
    o_missing = AppliedFraming::NotApplied(line, i_wanted);
    return true;
}

qint64 QueuedInSystem(const QSerialPort& i_port) {
    int inSystem = 0;
    if (i_port.isOpen() && ::ioctl(fd(i_port), TIOCOUTQ, &inSystem) == 0) {
        return inSystem;
    }
    return 0;
}

void DiscardOutput(const QSerialPort& i_port) {
    ::tcflush(fd(i_port), TCOFLUSH);
}

QString OpenFailure(const QString& i_sPath, const QSerialPort& i_port) {
    const QByteArray path = QFile::encodeName(i_sPath);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        return QStringLiteral("%1: %2").arg(i_sPath, systemError());
    }
    if (::access(path.constData(), R_OK | W_OK) != 0) {
        return QStringLiteral("%1: %2").arg(i_sPath, systemError());
    }
    if (i_port.error() == QSerialPort::PermissionError) {
        return QStringLiteral("%1: in use by another program").arg(i_sPath);
    }
    return QString();
}

} // namespace SerialNative
