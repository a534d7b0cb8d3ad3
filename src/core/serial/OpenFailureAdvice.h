#pragma once

#include <QString>

// What a technician can do about a port that would not open, from the operating system's
// reason ("/dev/ttyUSB0: Permission denied").
namespace OpenFailureAdvice {
QString For(const QString& i_sReason, int i_iPort);
} // namespace OpenFailureAdvice
