#pragma once

#include "core/ports/SerialDevice.h"

// The machine's serial devices as the kernel's device tree and the udev database describe them,
// read from files alone: no device is ever opened (asking a UART its type through its device
// node would raise DTR and RTS on whatever hangs on it, a printer or a cash drawer).
//
// A device is a tty with a device behind it (<sys>/class/tty/<name>/device); a UART port whose
// "type" reads 0 has no chip behind it and is left out. Vendor, model, serial number and USB
// ids come from <udev>/c<major>:<minor> where udev recorded them.
namespace SysfsPorts {

// i_sSysRoot: the sysfs root ("/sys"); i_sUdevData: the udev database ("/run/udev/data");
// i_sDevRoot: the folder of the device nodes ("/dev"). Sorted by name.
SerialDeviceList List(const QString& i_sSysRoot, const QString& i_sUdevData,
                      const QString& i_sDevRoot);

} // namespace SysfsPorts
