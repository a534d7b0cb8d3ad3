#pragma once

#include <QString>

// The Line Monitor during a firmware update, for the README: the program and a simulated
// display on a pseudo-terminal in this process, a few commands, then the loader dialogue and
// the first blocks (the display refuses the first one once, so that a NAK shows).
namespace LineMonitorShot {

// Writes i_sFolder/line-monitor.png; false when something failed (said on standard error).
bool Save(const QString& i_sFolder);

} // namespace LineMonitorShot
