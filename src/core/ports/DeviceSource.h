#pragma once

#include "core/ports/SerialDevice.h"

#include <QStringList>

// Where discovery learns about the machine: the list of serial devices, and the folders and
// files it reads beside it. The program uses the machine itself (SystemDeviceSource); tests
// install a source with a fixed list and folders of their own, so that no test reaches a
// serial port of the machine.
class DeviceSource {
public:
    virtual ~DeviceSource() = default;

    // The serial devices with path, description, manufacturer, serial number and USB ids;
    // alias and state are left to discovery.
    virtual SerialDeviceList Enumerate() = 0;

    // The folder of stable links (/dev/serial/by-id).
    virtual QString ByIdFolder() const = 0;
    // The folders that hold the serial library's lock files (LCK..ttyUSB0).
    virtual QStringList LockFolders() const = 0;
    // Files naming the system's consoles: /proc/consoles (a name at the start of each line) and
    // /sys/class/tty/console/active (names separated by spaces).
    virtual QStringList ConsoleFiles() const = 0;
    // Folders whose changes may mean that a device came or went, or changed its state.
    virtual QStringList WatchedFolders() const = 0;

    // The source in force: the installed one, or the machine's.
    static DeviceSource& Current();
    // Installs i_pSource (not owned); nullptr restores the machine's. Returns the source
    // installed before (nullptr for the machine's).
    static DeviceSource* Install(DeviceSource* i_pSource);
};
