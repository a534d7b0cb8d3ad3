#include "support/Pty.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
void makeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
}
} // namespace

Pty::Pty() {
    char name[256] = {};
    if (::openpty(&m_iMaster, &m_iSlave, name, nullptr, nullptr) != 0) {
        m_iMaster = m_iSlave = -1;
        return;
    }
    makeRaw(m_iMaster);
    makeRaw(m_iSlave);
    ::fcntl(m_iMaster, F_SETFL, ::fcntl(m_iMaster, F_GETFL) | O_NONBLOCK);
    m_sSlavePath = QString::fromLocal8Bit(name);
}

Pty::~Pty() {
    m_pNotifier.reset();
    if (m_iMaster >= 0) {
        ::close(m_iMaster);
    }
    if (m_iSlave >= 0) {
        ::close(m_iSlave);
    }
}

void Pty::Write(const QByteArray& i_bBytes) {
    qsizetype done = 0;
    while (m_iMaster >= 0 && done < i_bBytes.size()) {
        const ssize_t n = ::write(m_iMaster, i_bBytes.constData() + done,
                                  static_cast<size_t>(i_bBytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{m_iMaster, POLLOUT, 0};
            ::poll(&p, 1, 50);
        }
    }
}

QByteArray Pty::ReadAvailable() {
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_iMaster, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        out.append(buffer, n);
    }
    return out;
}

QByteArray Pty::ReadFor(int i_iTimeoutMs, int i_iCount) {
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (out.size() < i_iCount && timer.elapsed() < i_iTimeoutMs) {
        pollfd p{m_iMaster, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::max<qint64>(1, i_iTimeoutMs - timer.elapsed())));
        out += ReadAvailable();
    }
    return out;
}

void Pty::OnData(std::function<void(const QByteArray&)> i_handler) {
    m_handler = std::move(i_handler);
    if (!m_pNotifier) {
        m_pNotifier = std::make_unique<QSocketNotifier>(m_iMaster, QSocketNotifier::Read);
        QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this] {
            const QByteArray chunk = ReadAvailable();
            if (!chunk.isEmpty()) {
                m_bReceived += chunk;
                if (m_handler) {
                    m_handler(chunk);
                }
            }
        });
    }
}

void Pty::HangUp() {
    m_pNotifier.reset();
    if (m_iMaster >= 0) {
        ::close(m_iMaster);
        m_iMaster = -1;
    }
    if (m_iSlave >= 0) {
        ::close(m_iSlave);
        m_iSlave = -1;
    }
}
