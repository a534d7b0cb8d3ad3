#include "LineSpeed.h"

#include <termios.h>

namespace LineSpeed {

int Of(int i_iMasterFd) {
    termios t{};
    if (i_iMasterFd < 0 || ::tcgetattr(i_iMasterFd, &t) != 0) {
        return 0;
    }
    return OfCode(::cfgetospeed(&t));
}

int OfCode(speed_t i_code) {
    static const struct {
        speed_t code;
        int baud;
    } speeds[] = {{B50, 50},         {B75, 75},        {B110, 110},     {B134, 134},
                  {B150, 150},       {B200, 200},      {B300, 300},     {B600, 600},
                  {B1200, 1200},     {B1800, 1800},    {B2400, 2400},   {B4800, 4800},
                  {B9600, 9600},     {B19200, 19200},  {B38400, 38400}, {B57600, 57600},
                  {B115200, 115200}, {B230400, 230400}};
    for (const auto& s : speeds) {
        if (s.code == i_code) {
            return s.baud;
        }
    }
    return 0;
}

QByteArray Garble(const QByteArray& i_bBytes) {
    QByteArray out(i_bBytes.size(), '\0');
    for (qsizetype i = 0; i < i_bBytes.size(); ++i) {
        const auto b = static_cast<quint8>(i_bBytes[i]);
        out[i] = static_cast<char>(0x80 | ((b * 37 + 0x5B) & 0x7F));
    }
    return out;
}

int OfBaudCode(char i_cCode) {
    switch (i_cCode) {
    case '0':
        return 19200;
    case '1':
        return 9600;
    case '2':
        return 4800;
    case '3':
        return 2400;
    case '4':
        return 1200;
    case '5':
        return 600;
    case '6':
        return 38400;
    default:
        return 0;
    }
}

} // namespace LineSpeed
