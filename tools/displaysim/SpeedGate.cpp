#include "SpeedGate.h"

#include "LineSpeed.h"
#include "pty/PtyPair.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The speed of the line at rest, which no program asks for: the mark of a port that is closed,
// or opened but not yet set to its speed (a serial port sets its other settings first).
constexpr speed_t kRest = B50;

} // namespace

SpeedGate::SpeedGate(PtyPair& io_pty, bool i_blnHold) : m_pty(io_pty), m_blnHold(i_blnHold) {
    const int slave = m_pty.SlaveFd();
    termios rest{};
    if (!m_pty.IsOpen() || ::tcgetattr(slave, &rest) != 0) {
        return;
    }
    rest.c_lflag |= EXTPROC;
    ::cfsetspeed(&rest, kRest);
    ::tcsetattr(slave, TCSANOW, &rest);
    int on = 1;
    ::ioctl(m_pty.MasterFd(), TIOCPKT, &on);
    if (m_blnHold) {
        ::tcflow(slave, TCOOFF);
    }
}

int SpeedGate::ProgramSpeed() const {
    termios now{};
    if (!m_pty.IsOpen() || ::tcgetattr(m_pty.SlaveFd(), &now) != 0 ||
        ::cfgetospeed(&now) == kRest) {
        return 0;
    }
    return LineSpeed::OfCode(::cfgetospeed(&now));
}

std::vector<SpeedGate::Piece> SpeedGate::Read() {
    std::vector<Piece> pieces;
    char buffer[4097];
    while (m_pty.IsOpen()) {
        const ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        if (buffer[0] != TIOCPKT_DATA) {
            if ((buffer[0] & TIOCPKT_IOCTL) != 0) {
                settingsChanged();
            }
            continue;
        }
        if (pieces.empty() || pieces.back().speed != m_iSpeed) {
            pieces.push_back({QByteArray(), m_iSpeed});
        }
        pieces.back().bytes.append(buffer + 1, n - 1);
    }
    return pieces;
}

void SpeedGate::settingsChanged() {
    const int speed = ProgramSpeed();
    if (speed == 0) {
        // At rest: what is still unread was written before, at the speed already known.
        if (m_blnHold) {
            ::tcflow(m_pty.SlaveFd(), TCOOFF);
        }
        return;
    }
    m_iSpeed = speed;
    ::tcflow(m_pty.SlaveFd(), TCOON);
}
