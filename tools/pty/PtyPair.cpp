#include "pty/PtyPair.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&m_iMaster, &m_iSlave, name, nullptr, nullptr) != 0) {
        m_iMaster = m_iSlave = -1;
        return;
    }
    MakeRaw(m_iMaster);
    MakeRaw(m_iSlave);
    ::fcntl(m_iMaster, F_SETFL, ::fcntl(m_iMaster, F_GETFL) | O_NONBLOCK);
    m_sSlavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    Close();
}

void PtyPair::MakeRaw(int i_iFd) {
    termios t{};
    if (::tcgetattr(i_iFd, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(i_iFd, TCSANOW, &t);
    }
}

qsizetype PtyPair::Write(const QByteArray& i_bBytes, int i_iMaxStalls) {
    qsizetype done = 0;
    int stalls = 0;
    while (m_iMaster >= 0 && done < i_bBytes.size() &&
           (i_iMaxStalls < 0 || stalls < i_iMaxStalls)) {
        const ssize_t n = ::write(m_iMaster, i_bBytes.constData() + done,
                                  static_cast<size_t>(i_bBytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        } else {
            pollfd p{m_iMaster, POLLOUT, 0};
            ::poll(&p, 1, 50);
            ++stalls;
        }
    }
    return done;
}

QByteArray PtyPair::ReadAvailable() {
    QByteArray out;
    char buffer[4096];
    while (m_iMaster >= 0) {
        const ssize_t n = ::read(m_iMaster, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        out.append(buffer, n);
    }
    return out;
}

QByteArray PtyPair::ReadFor(int i_iTimeoutMs, qsizetype i_iCount) {
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (m_iMaster >= 0 && out.size() < i_iCount && timer.elapsed() < i_iTimeoutMs) {
        pollfd p{m_iMaster, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::max<qint64>(1, i_iTimeoutMs - timer.elapsed())));
        out += ReadAvailable();
    }
    return out;
}

void PtyPair::Close() {
    if (m_iMaster >= 0) {
        ::close(m_iMaster);
        m_iMaster = -1;
    }
    if (m_iSlave >= 0) {
        ::close(m_iSlave);
        m_iSlave = -1;
    }
}
