#pragma once

#include "core/ports/SerialDevice.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Follows the machine's serial devices as they come and go. It listens for changes of the
// folders the DeviceSource names (/dev, /dev/serial/by-id, the lock folder) and lists the
// devices again a moment after a change, so it costs nothing while nothing changes; a change of
// the lock folder alone (a program taking or leaving a port) only reads the states again. The
// list it starts with is kept, to tell which devices appeared since.
class DeviceWatcher : public QObject {
    Q_OBJECT

public:
    explicit DeviceWatcher(QObject* i_pParent = nullptr);

    // The devices as last listed.
    const SerialDeviceList& Devices() const { return m_devices; }

    // Devices present now that were not there when the watcher started.
    SerialDeviceList AppearedSinceStart() const;

    // Lists the devices again now; emits the signals when anything changed.
    void Refresh();

signals:
    // The list changed: a device came or went, or one changed its alias or state.
    void devicesChanged();
    void deviceAppeared(const SerialDevice& i_device);
    void deviceRemoved(const SerialDevice& i_device);

private:
    void watchFolders();
    void folderChanged(const QString& i_sFolder);
    void settled();
    // Takes i_devices as the new list and reports what changed.
    void take(const SerialDeviceList& i_devices);

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    SerialDeviceList m_devices;
    QStringList m_startPaths;
    QStringList m_lockFolders;
    // A folder other than a lock folder changed since the last listing: the devices themselves
    // may have changed, not only who holds them.
    bool m_blnListAgain = false;
};
