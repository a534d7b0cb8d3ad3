#pragma once

#include "core/ports/SerialDevice.h"

// What the Setting tab tells about a port number: where it leads now, and which new device
// could be used instead when its own is missing.
namespace PortDescription {

// "→ /dev/ttyUSB0 · FTDI FT232R USB UART (A50285BI)", "→ /dev/ttyS0 (not present)",
// "→ /dev/ttyS0 · system console", with " · set by LUMOQ4_COM1" when the environment
// variable gives the device.
QString Label(int i_iPort, const SerialDeviceList& i_devices);

// When the device of COMn is not there and i_appeared holds devices plugged in since the
// program started: names them and says how to use them. Empty otherwise.
QString NewDeviceHint(int i_iPort, const SerialDeviceList& i_appeared);

} // namespace PortDescription
