#include "core/ports/PortDescription.h"

#include "core/ports/PortResolver.h"
#include "core/ports/SerialDiscovery.h"

#include <QFileInfo>
#include <QStringList>

namespace PortDescription {

QString Label(int i_iPort, const SerialDeviceList& i_devices) {
    const QString path = PortResolver::DevicePath(i_iPort);
    const SerialDevice device = SerialDiscovery::Describe(path, i_devices);
    QString text = QStringLiteral("\u2192 ") + device.path;
    if (device.state == SerialDevice::State::Absent) {
        text += QStringLiteral(" (not present)");
    }
    QStringList more;
    if (!device.Label().isEmpty()) {
        more << device.Label();
    }
    if (device.state != SerialDevice::State::Free && device.state != SerialDevice::State::Absent) {
        more << device.StateText();
    }
    if (!PortResolver::FromEnvironment(i_iPort).isEmpty()) {
        more << QStringLiteral("set by %1").arg(PortResolver::EnvironmentName(i_iPort));
    }
    for (const QString& part : more) {
        text += QStringLiteral(" \u00b7 ") + part;
    }
    return text;
}

QString NewDeviceHint(int i_iPort, const SerialDeviceList& i_appeared) {
    if (i_appeared.isEmpty() || QFileInfo::exists(PortResolver::DevicePath(i_iPort))) {
        return {};
    }
    QStringList names;
    for (const SerialDevice& d : i_appeared) {
        names << (d.Label().isEmpty() ? d.path : QStringLiteral("%1 (%2)").arg(d.path, d.Label()));
    }
    return QStringLiteral("Plugged in since the program started: %1. To use it, press \"Choose "
                          "Device\u2026\" on the Setting tab and pick it for COM%2, or press "
                          "\"Find Display\".")
        .arg(names.join(QStringLiteral(", ")))
        .arg(i_iPort);
}

} // namespace PortDescription
