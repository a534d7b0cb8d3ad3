#pragma once

#include "core/serial/SerialSettings.h"

#include <QStringList>

#include <termios.h>

// A driver may accept a line setting and not apply it. After opening a real port the settings
// are read back from the operating system and held against the settings text.
namespace AppliedFraming {

// What of i_wanted the line settings i_line do not carry, one entry per setting, for example
// "7 data bits (the port has 8)"; empty when everything was applied.
QStringList NotApplied(const termios& i_line, const SerialSettings& i_wanted);

} // namespace AppliedFraming
