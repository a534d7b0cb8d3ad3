#pragma once

#include "core/ports/DeviceSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The machine as a test wants it: a device list the test sets, and a by-id folder, a lock
// folder, a consoles file and a watched folder of its own under i_sFolder (the machine's lock
// folders are read as well, since the serial library locks the tests' ptys there). Nothing
// reaches the machine's serial ports. Installed for the lifetime of the object.
class FixedDeviceSource : public DeviceSource {
public:
    explicit FixedDeviceSource(const QString& i_sFolder)
        : byIdFolder(i_sFolder + QStringLiteral("/by-id")),
          lockFolder(i_sFolder + QStringLiteral("/lock")),
          consolesFile(i_sFolder + QStringLiteral("/consoles")),
          watchedFolder(i_sFolder + QStringLiteral("/dev")) {
        for (const QString& folder : {byIdFolder, lockFolder, watchedFolder}) {
            QDir().mkpath(folder);
        }
        m_pPrevious = DeviceSource::Install(this);
    }
    ~FixedDeviceSource() override { DeviceSource::Install(m_pPrevious); }
    FixedDeviceSource(const FixedDeviceSource&) = delete;
    FixedDeviceSource& operator=(const FixedDeviceSource&) = delete;

    SerialDeviceList Enumerate() override { return devices; }
    QString ByIdFolder() const override { return byIdFolder; }
    // The test's own lock folder, and the machine's, where the serial library puts its locks.
    QStringList LockFolders() const override {
        return {lockFolder, QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
    }
    QStringList ConsoleFiles() const override { return {consolesFile}; }
    QStringList WatchedFolders() const override { return {watchedFolder, lockFolder}; }

    // A device known by its path alone.
    static SerialDevice At(const QString& i_sPath) {
        SerialDevice d;
        d.path = i_sPath;
        return d;
    }

    // A USB adapter as the serial library describes one: FTDI FT232R, serial A50285BI,
    // 0403:6001, at i_sPath.
    static SerialDevice Adapter(const QString& i_sPath) {
        SerialDevice d;
        d.path = i_sPath;
        d.description = QStringLiteral("FT232R USB UART");
        d.manufacturer = QStringLiteral("FTDI");
        d.serialNumber = QStringLiteral("A50285BI");
        d.usb = true;
        d.vendorId = 0x0403;
        d.productId = 0x6001;
        return d;
    }

    // A change in the watched folder, as a device node coming or going makes.
    void Touch() {
        QFile marker(QDir(watchedFolder).filePath(QStringLiteral("changed")));
        if (marker.exists()) {
            marker.remove();
        } else if (marker.open(QIODevice::WriteOnly)) {
            marker.close();
        }
    }

    // A lock on i_sPath (a /dev/pts/N) held by process i_lPid, as the serial library writes it.
    void Lock(const QString& i_sPath, qint64 i_lPid) {
        QFile lock(lockFolder + QStringLiteral("/LCK..pts_") + QFileInfo(i_sPath).fileName());
        lock.open(QIODevice::WriteOnly | QIODevice::Truncate);
        lock.write(QByteArray::number(i_lPid) + "\nminicom\nhost\n");
    }

    // i_sPath (a /dev/pts/N) is the system console, as /proc/consoles says.
    void MakeConsole(const QString& i_sPath) {
        QFile consoles(consolesFile);
        consoles.open(QIODevice::WriteOnly | QIODevice::Truncate);
        consoles.write(QFileInfo(i_sPath).fileName().toLatin1() + " -W- (EC p a) 4:64\n");
    }

    // A by-id link named i_sName that leads to i_sTarget; returns its path.
    QString Link(const QString& i_sName, const QString& i_sTarget) {
        const QString link = QDir(byIdFolder).filePath(i_sName);
        QFile::remove(link);
        QFile::link(i_sTarget, link);
        return link;
    }

    SerialDeviceList devices;
    QString byIdFolder;
    QString lockFolder;
    QString consolesFile;
    QString watchedFolder;

private:
    DeviceSource* m_pPrevious = nullptr;
};
