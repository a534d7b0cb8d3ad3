#include "core/settings/SelectionLists.h"

namespace SelectionLists {

QStringList Comports() {
    QStringList out;
    for (int i = 1; i <= 16; ++i) {
        out << QStringLiteral("COM%1").arg(i);
    }
    return out;
}

QStringList BaudRates() {
    return {QStringLiteral("38400"), QStringLiteral("19200"), QStringLiteral("9600"),
            QStringLiteral("4800"),  QStringLiteral("2400"),  QStringLiteral("1200"),
            QStringLiteral("600")};
}

QStringList Parities() {
    return {QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN")};
}

QStringList InternationalCodes() {
    return {QStringLiteral("0: U.S.A"),      QStringLiteral("1: France"),
            QStringLiteral("2: Germany"),    QStringLiteral("3: U.K."),
            QStringLiteral("4: Denmark I"),  QStringLiteral("5: Sweden"),
            QStringLiteral("6: Italy"),      QStringLiteral("7: Spain"),
            QStringLiteral("8: Japan"),      QStringLiteral("9: Norway"),
            QStringLiteral("A: Denmark II"), QStringLiteral("B: East Europe"),
            QStringLiteral("C: Russian"),    QStringLiteral("D: Hebrew"),
            QStringLiteral("E: Greek")};
}

QStringList Layers() {
    return {QStringLiteral("Layer 1"),        QStringLiteral("Layer 2"),
            QStringLiteral("Layer 3"),        QStringLiteral("Layer 1 + 2"),
            QStringLiteral("Layer 1 + 3"),    QStringLiteral("Layer 2 + 3"),
            QStringLiteral("Layer 1 + 2 + 3")};
}

QStringList ModesA() {
    return {QStringLiteral("Mode 1 (Horizontal Scroll)"),
            QStringLiteral("Mode 2 (Vertical Scroll)"),
            QStringLiteral("Mode 3 (Blinking)"),
            QStringLiteral("Mode 1 + 2"),
            QStringLiteral("Mode 1 + 3"),
            QStringLiteral("Mode 2 + 3"),
            QStringLiteral("Mode 1 + 2 + 3")};
}

QStringList ModesB() {
    return {QStringLiteral("Mode 1 (Showing Continuously)"),
            QStringLiteral("Mode 2 (Horixontal Scroll)"), QStringLiteral("Mode 1 + 2")};
}

QStringList RebootModes() {
    return {QStringLiteral("Stay"), QStringLiteral("Running")};
}

QStringList Devices() {
    return {QStringLiteral("Printer ON"), QStringLiteral("Printer Off")};
}

QStringList Operations() {
    return {QStringLiteral("over-write"), QStringLiteral("vertical-scroll"),
            QStringLiteral("horizontal-scroll")};
}

QStringList Peripherals() {
    return {QStringLiteral("aux-device"), QStringLiteral("display"), QStringLiteral("both")};
}

QStringList Numbers(int i_iFirst, int i_iLast) {
    QStringList out;
    for (int i = i_iFirst; i <= i_iLast; ++i) {
        out << QString::number(i);
    }
    return out;
}

QStringList Countries() {
    return {QStringLiteral("00 - USA"),          QStringLiteral("01 - France"),
            QStringLiteral("02 - Germany"),      QStringLiteral("03 - Great Britain"),
            QStringLiteral("04 - Denmark 1"),    QStringLiteral("05 - Sweden"),
            QStringLiteral("06 - Italy"),        QStringLiteral("07 - Spain 1"),
            QStringLiteral("08 - Japan"),        QStringLiteral("09 - Norway"),
            QStringLiteral("0A - Denmark 2"),    QStringLiteral("0B - Spain 2"),
            QStringLiteral("0C - Latin America")};
}

} // namespace SelectionLists
