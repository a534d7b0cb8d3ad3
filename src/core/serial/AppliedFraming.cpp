#include "core/serial/AppliedFraming.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<qint32, speed_t>, 18> kSpeeds{{
    {50, B50},
    {75, B75},
    {110, B110},
    {134, B134},
    {150, B150},
    {200, B200},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {1800, B1800},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
}};

// 0 for a rate without a constant of its own (the port then runs at a custom rate, which the
// classic line settings cannot show).
speed_t speedCode(qint32 i_iBaud) {
    for (const auto& [baud, code] : kSpeeds) {
        if (baud == i_iBaud) {
            return code;
        }
    }
    return 0;
}

QString speedText(speed_t i_code) {
    for (const auto& [baud, code] : kSpeeds) {
        if (code == i_code) {
            return QString::number(baud);
        }
    }
    return QStringLiteral("another rate");
}

int dataBits(tcflag_t i_cflag) {
    switch (i_cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

char parity(tcflag_t i_cflag) {
    if ((i_cflag & PARENB) == 0) {
        return 'n';
    }
#ifdef CMSPAR
    if ((i_cflag & CMSPAR) != 0) {
        return (i_cflag & PARODD) != 0 ? 'm' : 's';
    }
#endif
    return (i_cflag & PARODD) != 0 ? 'o' : 'e';
}

QString parityName(char i_cParity) {
    switch (i_cParity) {
    case 'o':
        return QStringLiteral("odd");
    case 'e':
        return QStringLiteral("even");
    case 'm':
        return QStringLiteral("mark");
    case 's':
        return QStringLiteral("space");
    default:
        return QStringLiteral("no");
    }
}

} // namespace

namespace AppliedFraming {

QStringList NotApplied(const termios& i_line, const SerialSettings& i_wanted) {
    QStringList missing;
    const speed_t wanted = speedCode(i_wanted.baudRate);
    const speed_t out = ::cfgetospeed(&i_line);
    const speed_t in = ::cfgetispeed(&i_line);
    // An input speed of 0 means "as the output speed".
    if (wanted != 0 && (out != wanted || (in != 0 && in != wanted))) {
        missing << QStringLiteral("%1 baud (the port runs at %2)")
                       .arg(i_wanted.baudRate)
                       .arg(speedText(out != wanted ? out : in));
    }
    const int bits = dataBits(i_line.c_cflag);
    if (bits != i_wanted.dataBits) {
        missing
            << QStringLiteral("%1 data bits (the port has %2)").arg(i_wanted.dataBits).arg(bits);
    }
    const char applied = parity(i_line.c_cflag);
    if (applied != i_wanted.parity) {
        missing << QStringLiteral("%1 parity (the port has %2 parity)")
                       .arg(parityName(i_wanted.parity), parityName(applied));
    }
    // One and a half stop bits are set with the two-stop-bit flag.
    const int stops = (i_line.c_cflag & CSTOPB) != 0 ? 2 : 1;
    const int wantedStops = i_wanted.stopBits == 1 ? 1 : 2;
    if (stops != wantedStops) {
        const QString asked = i_wanted.stopBits == 1   ? QStringLiteral("1 stop bit")
                              : i_wanted.stopBits == 2 ? QStringLiteral("2 stop bits")
                                                       : QStringLiteral("1.5 stop bits");
        missing << QStringLiteral("%1 (the port has %2)").arg(asked).arg(stops);
    }
    return missing;
}

} // namespace AppliedFraming
