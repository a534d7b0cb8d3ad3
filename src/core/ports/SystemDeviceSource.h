#pragma once

#include "core/ports/DeviceSource.h"

#include <utility>

// The machine's serial devices, listed without opening any: on Linux from sysfs and the udev
// database (SysfsPorts; the serial library's list opens every UART to ask its type), elsewhere
// from the serial library's list, which does not open devices there.
class SystemDeviceSource : public DeviceSource {
public:
    // The roots of sysfs, the udev database and the device nodes; tests give trees of their own.
    explicit SystemDeviceSource(QString i_sSysRoot = QStringLiteral("/sys"),
                                QString i_sUdevData = QStringLiteral("/run/udev/data"),
                                QString i_sDevRoot = QStringLiteral("/dev"))
        : m_sSysRoot(std::move(i_sSysRoot)), m_sUdevData(std::move(i_sUdevData)),
          m_sDevRoot(std::move(i_sDevRoot)) {}

    SerialDeviceList Enumerate() override;
    QString ByIdFolder() const override;
    QStringList LockFolders() const override;
    QStringList ConsoleFiles() const override;
    QStringList WatchedFolders() const override;

private:
    QString m_sSysRoot;
    QString m_sUdevData;
    QString m_sDevRoot;
};
