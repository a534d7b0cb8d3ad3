#pragma once

#include "core/ports/SerialDevice.h"

#include <QHash>

// The machine's serial devices, each with its stable alias and its state, from the
// DeviceSource in force. Nothing here opens a device.
namespace SerialDiscovery {

// Every serial device, in the order the source gives them.
SerialDeviceList List();

// The device at i_sPath (a system path, an alias or any other link), taken from i_devices when
// it is one of them, described from the path alone otherwise (a pseudo-terminal, a device
// that is not there).
SerialDevice Describe(const QString& i_sPath, const SerialDeviceList& i_devices);

// The index of the device in i_devices that i_sPath names (its path, its alias, or a link to
// it), or -1.
qsizetype IndexOf(const QString& i_sPath, const SerialDeviceList& i_devices);

// The links of the by-id folder by the device they lead to (canonical path -> link path).
QHash<QString, QString> Aliases();

} // namespace SerialDiscovery
