#pragma once

#include <QList>
#include <QString>

// One serial device of the machine as discovery sees it, without ever opening it.
struct SerialDevice {
    // Whether the program could open the device now. Busy comes from a lock file, no permission
    // from the access rights, the console from the kernel's list of consoles.
    enum class State { Free, Busy, NoPermission, Console, Absent };

    QString path;  // the system path, for example /dev/ttyUSB0
    QString alias; // the /dev/serial/by-id link that leads to it, empty when there is none
    QString description;
    QString manufacturer;
    QString serialNumber;
    quint16 vendorId = 0;
    quint16 productId = 0;
    bool usb = false; // vendorId and productId are known
    State state = State::Free;
    qint64 lockPid = 0; // the process that holds the lock, when busy and known

    // "free", "busy (process 4711)", "no permission", "system console", "not present".
    QString StateText() const;

    // "0403:6001", or empty when the device is not a USB one.
    QString UsbId() const;

    // What to store as the mapping of a port: the by-id alias when there is one, so that the
    // mapping survives re-plugging; the system path otherwise.
    QString MappingValue() const;

    // "FTDI FT232R USB UART (A50285BI)": description and serial number, the manufacturer when
    // there is no description; empty when nothing is known.
    QString Label() const;
};

using SerialDeviceList = QList<SerialDevice>;
