#pragma once

#include <QByteArray>
#include <array>

// Everything the display remembers besides its cells: what the native and EPSON commands set.
struct DisplayState {
    enum class WriteMode { OverWrite = 1, VerticalScroll = 2, HorizontalScroll = 3 };
    // Where incoming bytes go: ESC = n (1 aux device, 2 display, 3 both), ESC G, ESC S.
    enum class Peripheral { AuxDevice = 1, Display = 2, Both = 3 };

    // Native "B": code bytes as received ('0' 19200 .. '6' 300/38400; 'N', 'O', 'E').
    char baudCode = '0';
    char parityCode = 'N';
    int baudChanges = 0;

    // Native "I" and EPSON ESC R n.
    int internationalSet = 0;
    // EPSON ESC t n.
    int codeTable = 0;
    // EPSON US E n: 0 means steady.
    int blinkInterval = 0;
    bool reverse = false;
    WriteMode writeMode = WriteMode::OverWrite;
    Peripheral peripheral = Peripheral::Display;
    // Bytes routed to the aux device (printer), in arrival order.
    QByteArray passThrough;

    // Native "S": the three layers (1..3 at index 0..2), each a copy of the 40 cells.
    std::array<QByteArray, 3> layers;
    // Native "D": layer combination 1..7 (1, 2, 3, 1+2, 1+3, 2+3, 1+2+3) and mode 1..7; 0 when
    // no demonstration runs.
    int demoLayers = 0;
    int demoMode = 0;
    // Native "O": 0 stay, 1 running (the saved message after a reboot).
    int startupMode = 0;

    // VT100 mode: ESC B n (the digit n, 0 brightest .. 3 dimmest) and ESC R n (country 0..12).
    int brightness = 0;
    int countryCode = 0;

    int selfTests = 0;
};
