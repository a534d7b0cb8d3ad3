#include "core/ports/SystemDeviceSource.h"

#include <QSerialPortInfo>

// Outside Linux the serial library lists the ports from the system's registry of devices
// without opening them; the roots of the Linux listing do not apply.
SerialDeviceList SystemDeviceSource::Enumerate() {
    SerialDeviceList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation();
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        device.serialNumber = info.serialNumber();
        device.usb = info.hasVendorIdentifier() && info.hasProductIdentifier();
        device.vendorId = info.vendorIdentifier();
        device.productId = info.productIdentifier();
        out << device;
    }
    return out;
}
