#include "device/NativeFrames.h"

#include "common/LumoStatus.h"
#include "common/NumberText.h"

#include <cmath>

namespace NativeFrames {

QByteArray Frame(char i_cLetter, std::initializer_list<quint8> i_params) {
    QByteArray frame;
    frame.append('\x04').append('\x01').append(i_cLetter);
    for (const quint8 p : i_params) {
        frame.append(static_cast<char>(p));
    }
    frame.append('\x17');
    return frame;
}

std::optional<quint8> ParameterByte(double i_dValue, int i_iBase) {
    const double value = NumberText::RoundHalfEven(i_dValue + i_iBase);
    if (!(value >= 0.0 && value <= 255.0)) {
        return std::nullopt;
    }
    return static_cast<quint8>(value);
}

std::optional<char> BaudRateCode(const QString& i_sBaudRate) {
    static const std::pair<const char*, char> codes[] = {
        {"19200", '0'}, {"9600", '1'}, {"4800", '2'}, {"2400", '3'},
        {"1200", '4'},  {"600", '5'},  {"300", '6'},  {"38400", '6'}, // the display's table
    };
    for (const auto& [text, code] : codes) {
        if (i_sBaudRate == QLatin1String(text)) {
            return code;
        }
    }
    return std::nullopt;
}

std::optional<char> ParityCode(const QString& i_sParity) {
    if (i_sParity == QLatin1String("NONE")) {
        return 'N';
    }
    if (i_sParity == QLatin1String("ODD")) {
        return 'O';
    }
    if (i_sParity == QLatin1String("EVEN")) {
        return 'E';
    }
    return std::nullopt;
}

int AcknowledgementStatus(const QByteArray& i_bReply) {
    return !i_bReply.isEmpty() && i_bReply.at(0) == '\x06' ? LumoStatus::Success : LumoStatus::Nack;
}

int ParseMessageReply(const QByteArray& i_bReply, QByteArray& o_bText) {
    if (i_bReply.isEmpty() || i_bReply.at(0) != '\x01') {
        return LumoStatus::Nack;
    }
    o_bText = i_bReply.size() > 2 ? i_bReply.mid(1, i_bReply.size() - 2) : QByteArray();
    return LumoStatus::Success;
}

int ParseVersionReply(const QByteArray& i_bReply, QByteArray& o_bText) {
    if (i_bReply.size() < 4) {
        return LumoStatus::Nack;
    }
    o_bText = i_bReply;
    return LumoStatus::Success;
}

} // namespace NativeFrames
