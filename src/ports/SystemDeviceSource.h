#pragma once

#include "ports/DeviceSource.h"

// The machine's serial devices through the serial library's port list, which reads the
// device database and never opens a device.
class SystemDeviceSource : public DeviceSource {
public:
    SerialDeviceList Enumerate() override;
    QString ByIdFolder() const override;
    QStringList LockFolders() const override;
    QStringList ConsoleFiles() const override;
    QStringList WatchedFolders() const override;
};
