#include "core/serial/DeviceLock.h"

#include "core/common/LumoError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

void DeviceLock::Take(const QString& i_sPath) {
    Release();
    const QByteArray path = QFile::encodeName(i_sPath);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            throw LumoError(
                LumoErrorNumber::PortUnavailable,
                QStringLiteral("%1: in use by another program (it holds the device locked)")
                    .arg(i_sPath));
        }
        return;
    }
    m_iFd = fd;
}

void DeviceLock::Release() {
    if (m_iFd >= 0) {
        ::close(m_iFd);
        m_iFd = -1;
    }
}
