#include "core/ports/SysfsPorts.h"

#include <QDir>
#include <QFile>
#include <QHash>

namespace SysfsPorts {
namespace {

// The first line of a small attribute file, empty when it cannot be read.
QString attribute(const QString& i_sFile) {
    QFile file(i_sFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLatin1(file.read(256).split('\n').value(0).trimmed());
}

// The "E:KEY=value" properties of a udev database entry.
QHash<QString, QString> udevProperties(const QString& i_sFile) {
    QHash<QString, QString> properties;
    QFile file(i_sFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return properties;
    }
    for (const QByteArray& line : file.read(qint64{64} * 1024).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (line.startsWith("E:") && equals > 2) {
            properties.insert(QString::fromUtf8(line.mid(2, equals - 2)),
                              QString::fromUtf8(line.mid(equals + 1)).trimmed());
        }
    }
    return properties;
}

// A udev name as people read it: "FT232R_USB_UART" is "FT232R USB UART"; the database's name
// when udev has none of its own.
QString readable(const QHash<QString, QString>& i_properties, const QString& i_sKey) {
    QString value = i_properties.value(i_sKey);
    if (value.isEmpty()) {
        value = i_properties.value(i_sKey + QStringLiteral("_FROM_DATABASE"));
    }
    return value.replace(QLatin1Char('_'), QLatin1Char(' '));
}

void describe(const QHash<QString, QString>& i_properties, SerialDevice& io_device) {
    io_device.description = readable(i_properties, QStringLiteral("ID_MODEL"));
    io_device.manufacturer = readable(i_properties, QStringLiteral("ID_VENDOR"));
    io_device.serialNumber = i_properties.value(QStringLiteral("ID_SERIAL_SHORT"));
    bool vendorOk = false;
    bool productOk = false;
    io_device.vendorId = i_properties.value(QStringLiteral("ID_VENDOR_ID")).toUShort(&vendorOk, 16);
    io_device.productId =
        i_properties.value(QStringLiteral("ID_MODEL_ID")).toUShort(&productOk, 16);
    io_device.usb = vendorOk && productOk;
}

} // namespace

SerialDeviceList List(const QString& i_sSysRoot, const QString& i_sUdevData,
                      const QString& i_sDevRoot) {
    SerialDeviceList devices;
    const QDir ttys(i_sSysRoot + QStringLiteral("/class/tty"));
    const QStringList names =
        ttys.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString entry = ttys.filePath(name);
        // Virtual consoles, pseudo-terminals and the like have no device behind them.
        if (!QFileInfo::exists(entry + QStringLiteral("/device"))) {
            continue;
        }
        // A UART port without a chip behind it (the kernel reserves ttyS0..ttyS3 whether or
        // not they exist) has the type 0.
        if (attribute(entry + QStringLiteral("/type")) == QLatin1String("0")) {
            continue;
        }
        SerialDevice device;
        device.path = QDir(i_sDevRoot).filePath(name);
        const QString number = attribute(entry + QStringLiteral("/dev"));
        if (!number.isEmpty()) {
            describe(udevProperties(QDir(i_sUdevData).filePath(QStringLiteral("c") + number)),
                     device);
        }
        devices << device;
    }
    return devices;
}

} // namespace SysfsPorts
