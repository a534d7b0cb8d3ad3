#pragma once

#include <QString>

// One line setting Find Display tries: the texts of the baud-rate and parity lists.
struct ScanSetting {
    QString baudRate; // "9600"
    QString parity;   // "NONE", "ODD" or "EVEN"

    bool operator==(const ScanSetting& i_other) const {
        return baudRate == i_other.baudRate && parity == i_other.parity;
    }
};

// Where the scan is: the device and setting about to be tried, in pass 1 or 2, as step
// index (from 0) of count steps at most.
struct ScanStep {
    QString path;
    ScanSetting setting;
    int pass = 1;
    int index = 0;
    int count = 0;
};

// What the scan tells whoever runs it, and asks of them: a window shows a progress dialog, a
// command-line tool prints a line. Cancelled is asked between the scan's short waits, so
// that a cancel takes effect within a fraction of a second.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;

    virtual void Trying(const ScanStep& i_step) = 0;
    virtual bool Cancelled() = 0;
};
