#include "core/ports/DeviceWatcher.h"

#include "core/ports/DeviceSource.h"
#include "core/ports/DeviceState.h"
#include "core/ports/SerialDiscovery.h"

#include <QDir>

namespace {

// A device node, its by-id link and its permissions are made one after the other; listing
// again once they have settled gives one report instead of several half ones.
constexpr int kSettleMs = 300;

bool sameDevice(const SerialDevice& a, const SerialDevice& b) {
    return a.path == b.path && a.alias == b.alias && a.state == b.state && a.lockPid == b.lockPid &&
           a.description == b.description;
}

const SerialDevice* find(const SerialDeviceList& i_list, const QString& i_sPath) {
    for (const SerialDevice& d : i_list) {
        if (d.path == i_sPath) {
            return &d;
        }
    }
    return nullptr;
}

} // namespace

DeviceWatcher::DeviceWatcher(QObject* i_pParent) : QObject(i_pParent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DeviceWatcher::settled);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DeviceWatcher::folderChanged);
    for (const QString& folder : DeviceSource::Current().LockFolders()) {
        const QString real = QDir(folder).canonicalPath();
        m_lockFolders << (real.isEmpty() ? folder : real);
    }
    m_devices = SerialDiscovery::List();
    for (const SerialDevice& d : m_devices) {
        m_startPaths << d.path;
    }
    watchFolders();
}

void DeviceWatcher::watchFolders() {
    // A folder that appears later (the by-id folder with the first USB adapter) is picked up
    // at the next change of its parent.
    QStringList wanted;
    for (const QString& folder : DeviceSource::Current().WatchedFolders()) {
        if (QDir(folder).exists()) {
            wanted << folder;
        }
    }
    const QStringList watched = m_watcher.directories();
    for (const QString& folder : watched) {
        if (!wanted.contains(folder)) {
            m_watcher.removePath(folder);
        }
    }
    for (const QString& folder : wanted) {
        if (!watched.contains(folder)) {
            m_watcher.addPath(folder);
        }
    }
}

SerialDeviceList DeviceWatcher::AppearedSinceStart() const {
    SerialDeviceList out;
    for (const SerialDevice& d : m_devices) {
        if (!m_startPaths.contains(d.path)) {
            out << d;
        }
    }
    return out;
}

void DeviceWatcher::folderChanged(const QString& i_sFolder) {
    if (!m_lockFolders.contains(QDir(i_sFolder).canonicalPath())) {
        m_blnListAgain = true;
    }
    m_settle.start();
}

void DeviceWatcher::settled() {
    if (m_blnListAgain) {
        Refresh();
        return;
    }
    SerialDeviceList devices = m_devices;
    for (SerialDevice& d : devices) {
        d.state = DeviceState::Of(d.path, d.alias, d.lockPid);
    }
    take(devices);
}

void DeviceWatcher::Refresh() {
    m_blnListAgain = false;
    watchFolders();
    take(SerialDiscovery::List());
}

void DeviceWatcher::take(const SerialDeviceList& i_devices) {
    const SerialDeviceList before = m_devices;
    m_devices = i_devices;
    bool changed = before.size() != m_devices.size();
    for (const SerialDevice& d : before) {
        const SerialDevice* now = find(m_devices, d.path);
        if (now == nullptr) {
            emit deviceRemoved(d);
            changed = true;
        } else if (!sameDevice(d, *now)) {
            changed = true;
        }
    }
    for (const SerialDevice& d : m_devices) {
        if (find(before, d.path) == nullptr) {
            emit deviceAppeared(d);
            changed = true;
        }
    }
    if (changed) {
        emit devicesChanged();
    }
}
