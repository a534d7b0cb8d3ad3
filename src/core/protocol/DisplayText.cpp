#include "core/protocol/DisplayText.h"

#include "core/common/ControlText.h"
#include "core/common/Cp1252.h"
#include "core/protocol/modLumo.h"

#include <array>

namespace {

// The character each display byte stands for.
const std::array<QString, 256>& characters() {
    static const std::array<QString, 256> table = [] {
        modLumo::BuildCharacterTable();
        std::array<int, 256> source{};
        for (int b = 0; b < 256; ++b) {
            source[static_cast<size_t>(b)] = b;
        }
        // Only the upper half is mapped away from itself; there the mapped character wins
        // (0x82 is é, not the low quotation mark it is in Windows-1252).
        for (int c = 0x80; c < 256; ++c) {
            const int shown = modLumo::CharacterTable[static_cast<size_t>(c)];
            if (shown != c && shown >= 0x80 && shown < 256) {
                source[static_cast<size_t>(shown)] = c;
            }
        }
        std::array<QString, 256> out;
        for (int b = 0; b < 256; ++b) {
            // Control codes, and the C1 controls that Windows-1252 leaves undefined, read as
            // <0B> and <9D>: never a raw control in a log, a terminal or the monitor.
            const int from = b < 0x20 || b == 0x7F ? b : source[static_cast<size_t>(b)];
            out[static_cast<size_t>(b)] =
                ControlText::Escaped(Cp1252::Decode(QByteArray(1, static_cast<char>(from))));
        }
        return out;
    }();
    return table;
}

} // namespace

namespace DisplayText {

QString Decode(const QByteArray& i_bBytes) {
    const std::array<QString, 256>& table = characters();
    QString text;
    text.reserve(i_bBytes.size());
    for (const char c : i_bBytes) {
        text += table[static_cast<quint8>(c)];
    }
    return text;
}

QString Quoted(const QByteArray& i_bBytes) {
    return QLatin1Char('"') + Decode(i_bBytes) + QLatin1Char('"');
}

QString Hex(const QByteArray& i_bBytes) {
    return QString::fromLatin1(i_bBytes.toHex(' ').toUpper());
}

} // namespace DisplayText
