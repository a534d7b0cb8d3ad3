#include "core/ports/SerialDiscovery.h"

#include "core/ports/DeviceSource.h"
#include "core/ports/DeviceState.h"

#include <QDir>
#include <QFileInfo>

namespace SerialDiscovery {
namespace {

QString canonical(const QString& i_sPath) {
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    return real.isEmpty() ? i_sPath : real;
}

void addState(SerialDevice& io_device) {
    io_device.state = DeviceState::Of(io_device.path, io_device.alias, io_device.lockPid);
}

} // namespace

QHash<QString, QString> Aliases() {
    QHash<QString, QString> aliases;
    const QDir folder(DeviceSource::Current().ByIdFolder());
    // Sorted, so that of several links to one device the first by name is its alias.
    const QFileInfoList links =
        folder.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !aliases.contains(target)) {
            aliases.insert(target, link.absoluteFilePath());
        }
    }
    return aliases;
}

SerialDeviceList List() {
    SerialDeviceList devices = DeviceSource::Current().Enumerate();
    const QHash<QString, QString> aliases = Aliases();
    for (SerialDevice& device : devices) {
        device.alias = aliases.value(canonical(device.path));
        addState(device);
    }
    return devices;
}

qsizetype IndexOf(const QString& i_sPath, const SerialDeviceList& i_devices) {
    const QString real = canonical(i_sPath);
    for (qsizetype i = 0; i < i_devices.size(); ++i) {
        const SerialDevice& d = i_devices[i];
        if (d.path == i_sPath || (!d.alias.isEmpty() && d.alias == i_sPath) ||
            canonical(d.path) == real) {
            return i;
        }
    }
    return -1;
}

SerialDevice Describe(const QString& i_sPath, const SerialDeviceList& i_devices) {
    const qsizetype index = IndexOf(i_sPath, i_devices);
    if (index >= 0) {
        return i_devices[index];
    }
    SerialDevice device;
    device.path = i_sPath;
    device.alias = Aliases().value(canonical(i_sPath));
    addState(device);
    return device;
}

} // namespace SerialDiscovery
