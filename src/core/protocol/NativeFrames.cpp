#include "core/protocol/NativeFrames.h"

#include "core/common/LumoStatus.h"
#include "core/common/NumberText.h"

#include <QStringList>
#include <cmath>
#include <iterator>

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

namespace {
const std::pair<const char*, char> kBaudRateCodes[] = {
    {"19200", '0'}, {"9600", '1'}, {"4800", '2'}, {"2400", '3'},
    {"1200", '4'},  {"600", '5'},  {"300", '6'},  {"38400", '6'}, // the display's table
};
const std::pair<const char*, char> kParityCodes[] = {{"NONE", 'N'}, {"ODD", 'O'}, {"EVEN", 'E'}};

QString textsOf(char i_cCode, const std::pair<const char*, char>* i_pTable, size_t i_iSize) {
    QStringList texts;
    for (size_t i = 0; i < i_iSize; ++i) {
        if (i_pTable[i].second == i_cCode) {
            texts << QLatin1String(i_pTable[i].first);
        }
    }
    return texts.join(QLatin1String(" or "));
}
} // namespace

QString BaudRateText(char i_cCode) {
    return textsOf(i_cCode, kBaudRateCodes, std::size(kBaudRateCodes));
}

QString ParityText(char i_cCode) {
    return textsOf(i_cCode, kParityCodes, std::size(kParityCodes));
}

std::optional<char> BaudRateCode(const QString& i_sBaudRate) {
    for (const auto& [text, code] : kBaudRateCodes) {
        if (i_sBaudRate == QLatin1String(text)) {
            return code;
        }
    }
    return std::nullopt;
}

std::optional<char> ParityCode(const QString& i_sParity) {
    for (const auto& [text, code] : kParityCodes) {
        if (i_sParity == QLatin1String(text)) {
            return code;
        }
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
