#pragma once

#include "core/ports/SerialDevice.h"

#include <QString>
#include <QStringList>

// What can be known of a device without opening it: who holds its lock, whether it is the
// system's console, whether this user may open it, and whether a path is a terminal device at
// all. Every folder and file it reads comes from the DeviceSource in force.
namespace DeviceState {

// The state of the device at i_sPath (a system path or a link to one). A lock named after
// i_sAlias counts as well. o_lPid gets the locking process when the device is busy.
SerialDevice::State Of(const QString& i_sPath, const QString& i_sAlias, qint64& o_lPid);

// Device names of the system's consoles ("ttyS0").
QStringList ConsoleNames();

// True when i_sPath (or the device a link leads to) is a terminal device: a character device
// of the terminal class, a pseudo-terminal included. Otherwise false with the reason in
// o_sWhy ("/tmp/x: No such file or directory", "/dev/null: not a terminal device").
bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy);

// True when i_sPath is the slave side of a pseudo-terminal, which keeps 8 data bits and no
// parity whatever is asked.
bool IsPseudoTerminal(const QString& i_sPath);

} // namespace DeviceState
