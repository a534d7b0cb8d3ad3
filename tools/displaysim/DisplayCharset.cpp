#include "DisplayCharset.h"

#include <array>

namespace DisplayCharset {

namespace {
// Upper half of the PC code page, 0x80 to 0xFF.
const char16_t kUpperHalf[129] = u"ÇüéâäàåçêëèïîìÄÅ"
                                 u"ÉæÆôöòûùÿÖÜ¢£¥₧ƒ"
                                 u"áíóúñÑªº¿⌐¬½¼¡«»"
                                 u"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                                 u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧"
                                 u"╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
                                 u"αßΓπΣσµτΦΘΩδ∞φε∩"
                                 u"≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
} // namespace

QChar ToUnicode(quint8 i_cByte) {
    if (i_cByte == 0xB2) {
        // The display lights every dot of the cell for this byte.
        return QChar(0x2588);
    }
    if (i_cByte >= 0x80) {
        return QChar(kUpperHalf[i_cByte - 0x80]);
    }
    if (i_cByte < 0x20 || i_cByte == 0x7F) {
        return QChar(0x00B7);
    }
    return QChar(static_cast<char16_t>(i_cByte));
}

QString Decode(const QByteArray& i_bCells) {
    QString text;
    text.reserve(i_bCells.size());
    for (const char c : i_bCells) {
        text += ToUnicode(static_cast<quint8>(c));
    }
    return text;
}

QString Printable(const QByteArray& i_bBytes) {
    QString text;
    for (const char c : i_bBytes) {
        const auto b = static_cast<quint8>(c);
        if ((b >= 0x20 && b < 0x7F) || b >= 0x80) {
            text += ToUnicode(b);
        } else {
            text += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return text;
}

} // namespace DisplayCharset
