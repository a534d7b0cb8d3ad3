#include "core/ports/SystemDeviceSource.h"

#include <QDir>

QString SystemDeviceSource::ByIdFolder() const {
    return QStringLiteral("/dev/serial/by-id");
}

QStringList SystemDeviceSource::LockFolders() const {
    return {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
}

QStringList SystemDeviceSource::ConsoleFiles() const {
    return {QStringLiteral("/proc/consoles"), QStringLiteral("/sys/class/tty/console/active")};
}

QStringList SystemDeviceSource::WatchedFolders() const {
    // /dev/serial/by-id appears with the first USB serial device; until then its parent (or
    // /dev itself) tells.
    QStringList folders{QStringLiteral("/dev")};
    for (const QString& folder : {ByIdFolder(), QStringLiteral("/dev/serial")}) {
        if (QDir(folder).exists()) {
            folders << folder;
        }
    }
    for (const QString& folder : LockFolders()) {
        const QString real = QDir(folder).canonicalPath();
        if (!real.isEmpty() && !folders.contains(real)) {
            folders << real;
        }
    }
    return folders;
}

// The seam lives beside the machine's source, its default.
namespace {
DeviceSource* g_pInstalled = nullptr;
} // namespace

DeviceSource& DeviceSource::Current() {
    static SystemDeviceSource s_system;
    return g_pInstalled != nullptr ? *g_pInstalled : s_system;
}

DeviceSource* DeviceSource::Install(DeviceSource* i_pSource) {
    DeviceSource* previous = g_pInstalled;
    g_pInstalled = i_pSource;
    return previous;
}
