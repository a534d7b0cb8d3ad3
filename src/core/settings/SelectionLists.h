#pragma once

#include <QStringList>

// The fixed entries of the main window's lists. A stored selection is an index into these.
namespace SelectionLists {
QStringList Comports();           // "COM1" .. "COM16"
QStringList BaudRates();          // "38400" .. "600"
QStringList Parities();           // "NONE", "ODD", "EVEN"
QStringList InternationalCodes(); // "0: U.S.A" .. "E: Greek"
QStringList Layers();             // "Layer 1" .. "Layer 1 + 2 + 3"
QStringList ModesA();
QStringList ModesB();
QStringList RebootModes();                      // "Stay", "Running"
QStringList Devices();                          // "Printer ON", "Printer Off"
QStringList Operations();                       // EPSON write modes
QStringList Peripherals();                      // EPSON peripheral selection
QStringList Numbers(int i_iFirst, int i_iLast); // "first" .. "last"
QStringList Countries(); // the VT100 display's country codes, "00 - USA" .. "0C - Latin America"
} // namespace SelectionLists
