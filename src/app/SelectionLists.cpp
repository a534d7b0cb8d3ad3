#include "app/SelectionLists.h"

namespace SelectionLists {

QStringList Comports() {
    QStringList out;
    for (int i = 1; i <= 16; ++i) {
        out << QStringLiteral("COM%1").arg(i);
    }
    return out;
}

QStringList BaudRates() {
    return {"38400", "19200", "9600", "4800", "2400", "1200", "600"};
}

QStringList Parities() {
    return {"NONE", "ODD", "EVEN"};
}

QStringList InternationalCodes() {
    return {"0: U.S.A",      "1: France",      "2: Germany", "3: U.K.",   "4: Denmark I",
            "5: Sweden",     "6: Italy",       "7: Spain",   "8: Japan",  "9: Norway",
            "A: Denmark II", "B: East Europe", "C: Russian", "D: Hebrew", "E: Greek"};
}

QStringList Layers() {
    return {"Layer 1",     "Layer 2",     "Layer 3",        "Layer 1 + 2",
            "Layer 1 + 3", "Layer 2 + 3", "Layer 1 + 2 + 3"};
}

QStringList ModesA() {
    return {"Mode 1 (Horizontal Scroll)",
            "Mode 2 (Vertical Scroll)",
            "Mode 3 (Blinking)",
            "Mode 1 + 2",
            "Mode 1 + 3",
            "Mode 2 + 3",
            "Mode 1 + 2 + 3"};
}

QStringList ModesB() {
    return {"Mode 1 (Showing Continuously)", "Mode 2 (Horixontal Scroll)", "Mode 1 + 2"};
}

QStringList RebootModes() {
    return {"Stay", "Running"};
}

QStringList Devices() {
    return {"Printer ON", "Printer Off"};
}

QStringList Operations() {
    return {"over-write", "vertical-scroll", "horizontal-scroll"};
}

QStringList Peripherals() {
    return {"aux-device", "display", "both"};
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
