#include "core/common/Cp1252.h"

#include <QList>
#include <array>

namespace Cp1252 {
namespace {

// Unicode code points of the bytes 0x80..0x9F. The five bytes that the code page leaves
// undefined map to the C1 control of the same value, as the system conversion does.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t toUnicode(quint8 b) {
    if (b >= 0x80 && b <= 0x9F) {
        return kHighControls[b - 0x80];
    }
    return b;
}

char toByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return static_cast<char>(u);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

QByteArray Encode(const QString& i_sText) {
    QByteArray out;
    out.reserve(i_sText.size());
    const QList<uint> codePoints = i_sText.toUcs4();
    for (const uint cp : codePoints) {
        out.append(cp > 0xFFFF ? '?' : toByte(static_cast<char16_t>(cp)));
    }
    return out;
}

QString Decode(const QByteArray& i_bData) {
    QString out;
    out.reserve(i_bData.size());
    for (const char c : i_bData) {
        out.append(QChar(toUnicode(static_cast<quint8>(c))));
    }
    return out;
}

} // namespace Cp1252
