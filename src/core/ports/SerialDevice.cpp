#include "core/ports/SerialDevice.h"

QString SerialDevice::StateText() const {
    switch (state) {
    case State::Free:
        return QStringLiteral("free");
    case State::Busy:
        return lockPid > 0 ? QStringLiteral("busy (process %1)").arg(lockPid)
                           : QStringLiteral("busy");
    case State::NoPermission:
        return QStringLiteral("no permission");
    case State::Console:
        return QStringLiteral("system console");
    case State::Absent:
        return QStringLiteral("not present");
    }
    return {};
}

QString SerialDevice::UsbId() const {
    if (!usb) {
        return {};
    }
    return QStringLiteral("%1:%2")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'));
}

QString SerialDevice::MappingValue() const {
    return alias.isEmpty() ? path : alias;
}

QString SerialDevice::Label() const {
    QString text = description.isEmpty() ? manufacturer : description;
    if (!serialNumber.isEmpty()) {
        text = text.isEmpty() ? serialNumber : QStringLiteral("%1 (%2)").arg(text, serialNumber);
    }
    return text;
}
