// The machine's device list from sysfs and the udev database, over a tree the test makes whose
// device nodes lead to the test's ptys: which devices it lists, what it knows of them, and that
// neither the listing nor discovery opens any of them.
#include "core/ports/SerialDiscovery.h"
#include "core/ports/SystemDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

void write(const QString& i_sFile, const QByteArray& i_bContent) {
    QDir().mkpath(QFileInfo(i_sFile).path());
    QFile file(i_sFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(i_bContent);
}

// A tty of the tree: with a device behind it unless told otherwise, and "type" when given.
void tty(const QString& i_sSys, const QString& i_sName, const QByteArray& i_bDev,
         const char* i_pType, bool i_blnDevice = true) {
    const QString entry = i_sSys + "/class/tty/" + i_sName;
    write(entry + "/dev", i_bDev + "\n");
    if (i_blnDevice) {
        QDir().mkpath(entry + "/device");
    }
    if (i_pType != nullptr) {
        write(entry + "/type", QByteArray(i_pType) + "\n");
    }
}

// Opens of the watched files since the last call.
int opens(int i_iInotify) {
    int count = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(i_iInotify, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            count += (event->mask & IN_OPEN) != 0 ? 1 : 0;
            p += sizeof(inotify_event) + event->len;
        }
    }
    return count;
}

TEST(SysfsListing, ListsRealPortsWithTheirUdevDataAndOpensNoneOfThem) {
    QTemporaryDir root;
    Pty uart;
    Pty adapter;
    const QString sys = root.path() + "/sys";
    const QString udev = root.path() + "/udev";
    const QString dev = root.path() + "/dev";
    tty(sys, "ttyS0", "4:64", "4");          // a 16550A
    tty(sys, "ttyS1", "4:65", "0");          // reserved, no chip behind it
    tty(sys, "ttyUSB0", "188:0", nullptr);   // a USB adapter
    tty(sys, "tty1", "4:1", nullptr, false); // a virtual console
    write(udev + "/c188:0", "S:serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n"
                            "E:ID_VENDOR=FTDI\nE:ID_MODEL=FT232R_USB_UART\n"
                            "E:ID_SERIAL_SHORT=A50285BI\nE:ID_VENDOR_ID=0403\n"
                            "E:ID_MODEL_ID=6001\n");
    QDir().mkpath(dev);
    ASSERT_TRUE(QFile::link(uart.SlavePath(), dev + "/ttyS0"));
    ASSERT_TRUE(QFile::link(uart.SlavePath(), dev + "/ttyS1"));
    ASSERT_TRUE(QFile::link(adapter.SlavePath(), dev + "/ttyUSB0"));

    const int inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify, 0);
    for (const Pty* pty : {&uart, &adapter}) {
        ASSERT_GE(
            ::inotify_add_watch(inotify, QFile::encodeName(pty->SlavePath()).constData(), IN_OPEN),
            0);
    }

    SystemDeviceSource source(sys, udev, dev);
    DeviceSource* previous = DeviceSource::Install(&source);
    const SerialDeviceList devices = SerialDiscovery::List();
    DeviceSource::Install(previous);

    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices[0].path, dev + "/ttyS0");
    EXPECT_EQ(devices[0].Label(), "");
    EXPECT_EQ(devices[0].UsbId(), "");
    EXPECT_EQ(devices[1].path, dev + "/ttyUSB0");
    EXPECT_EQ(devices[1].Label(), "FT232R USB UART (A50285BI)");
    EXPECT_EQ(devices[1].manufacturer, "FTDI");
    EXPECT_EQ(devices[1].UsbId(), "0403:6001");
    EXPECT_EQ(opens(inotify), 0);

    // The watch does see an open.
    const int fd = ::open(QFile::encodeName(uart.SlavePath()).constData(), O_RDWR | O_NOCTTY);
    ::close(fd);
    EXPECT_EQ(opens(inotify), 1);
    ::close(inotify);
}

} // namespace
