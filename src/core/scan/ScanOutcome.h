#pragma once

#include "core/scan/ScanObserver.h"

#include <QStringList>

// How Find Display ended, and the texts that tell the technician.
struct ScanOutcome {
    enum class Result { Found, NotFound, Cancelled };

    Result result = Result::NotFound;
    // Where the display answered, at which setting, and its version text.
    QString path;
    ScanSetting setting;
    QString version;
    // Devices tried, and devices or settings left out with the reason ("/dev/ttyS0: system
    // console").
    QStringList tried;
    QStringList skipped;
    int settingsPerDevice = 0;
    int passes = 0;

    // One line for the status box: "Found: /dev/ttyUSB0, 9600 baud, EVEN parity, firmware
    // V1.07", what was tried without an answer, or that the search was cancelled.
    QString Summary() const;

    // Everything else: each device tried, each one left out and why, and what to check.
    QString Details() const;
};
