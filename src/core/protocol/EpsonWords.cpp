#include "core/protocol/EpsonWords.h"

#include "core/settings/SelectionLists.h"

namespace {

QString control(quint8 i_cByte) {
    switch (i_cByte) {
    case 0x08:
        return QStringLiteral("BS cursor left");
    case 0x09:
        return QStringLiteral("HT cursor right");
    case 0x0A:
        return QStringLiteral("LF cursor down");
    case 0x0B:
        return QStringLiteral("HOM cursor home");
    case 0x0C:
        return QStringLiteral("CLR clear the screen");
    case 0x0D:
        return QStringLiteral("CR cursor to the left end");
    case 0x18:
        return QStringLiteral("CAN clear the line");
    default:
        return QString();
    }
}

// "0"/0 off, "1"/1 on; anything else the display ignores.
QString flag(int n, const QString& i_sOn, const QString& i_sOff) {
    if (n == 0x31 || n == 0x01) {
        return i_sOn;
    }
    if (n == 0x30 || n == 0x00) {
        return i_sOff;
    }
    return QStringLiteral("%1 (ignored)").arg(n);
}

QString escape(quint8 i_cCode, int n) {
    switch (i_cCode) {
    case '@':
        return QStringLiteral("ESC @ initialise");
    case 'G':
        return QStringLiteral("ESC G aux device on (pass-through)");
    case 'S':
        return QStringLiteral("ESC S aux device off");
    case '=': {
        const QString output = SelectionLists::Peripherals().value(n - 1);
        return output.isEmpty() ? QStringLiteral("ESC = %1 (no such output)").arg(n)
                                : QStringLiteral("ESC = %1 output to %2").arg(n).arg(output);
    }
    case 'R': {
        const QString set = SelectionLists::InternationalCodes().value(n);
        return set.isEmpty() ? QStringLiteral("ESC R %1 (no such character set)").arg(n)
                             : QStringLiteral("ESC R %1 national character set %2").arg(n).arg(set);
    }
    case 't':
        return QStringLiteral("ESC t %1 character code table %1").arg(n);
    default:
        return QString();
    }
}

QString unitSeparator(quint8 i_cCode, int n, int i_iSecond) {
    switch (i_cCode) {
    case 0x0A:
        return QStringLiteral("US LF cursor up");
    case 'B':
        return QStringLiteral("US B cursor to the bottom position");
    case 0x0D:
        return QStringLiteral("US CR cursor to the right end");
    case 0x01:
    case 0x02:
    case 0x03:
        return QStringLiteral("US MD%1 %2 mode")
            .arg(i_cCode)
            .arg(SelectionLists::Operations().value(i_cCode - 1));
    case 'C':
        return QStringLiteral("US C ") +
               flag(n, QStringLiteral("cursor on"), QStringLiteral("cursor off"));
    case 'r':
        return QStringLiteral("US r ") +
               flag(n, QStringLiteral("reverse characters"), QStringLiteral("normal characters"));
    case 'E':
        return n == 0 ? QStringLiteral("US E 0 blink off")
                      : QStringLiteral("US E %1 blink interval %1").arg(n);
    case '@':
        return QStringLiteral("US @ self-test");
    case '$':
        return QStringLiteral("US $ cursor to column %1, line %2").arg(n).arg(i_iSecond);
    default:
        return QString();
    }
}

} // namespace

namespace EpsonWords {

QString Sequence(const QByteArray& i_bBytes) {
    const auto byte = [&i_bBytes](int i) {
        return i < i_bBytes.size() ? static_cast<quint8>(i_bBytes.at(i)) : 0;
    };
    switch (byte(0)) {
    case 0x1B:
        return escape(byte(1), byte(2));
    case 0x1F:
        return unitSeparator(byte(1), byte(2), byte(3));
    default:
        return control(byte(0));
    }
}

} // namespace EpsonWords
