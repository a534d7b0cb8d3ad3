// Discovery over a device list the test gives and over real pseudo-terminals: aliases from the
// by-id folder, and each state learnt without opening the device.
#include "core/ports/DeviceState.h"
#include "core/ports/SerialDiscovery.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Discovery : public ::testing::Test {
protected:
    Discovery() : m_source(m_folder.path()) {
        m_source.devices = {FixedDeviceSource::Adapter(m_pty.SlavePath())};
    }

    SerialDevice Only() {
        const SerialDeviceList devices = SerialDiscovery::List();
        EXPECT_EQ(devices.size(), 1);
        return devices.value(0);
    }

    QTemporaryDir m_folder;
    FixedDeviceSource m_source;
    Pty m_pty;
};

TEST_F(Discovery, ADeviceComesWithItsStableAliasUsbIdAndLabel) {
    const QString alias = m_source.Link(
        QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"), m_pty.SlavePath());
    const SerialDevice d = Only();
    EXPECT_EQ(d.path, m_pty.SlavePath());
    EXPECT_EQ(d.alias, alias);
    EXPECT_EQ(d.UsbId(), "0403:6001");
    EXPECT_EQ(d.Label(), "FT232R USB UART (A50285BI)");
    EXPECT_EQ(d.StateText(), "free");
    EXPECT_EQ(d.MappingValue(), alias);
}

TEST_F(Discovery, ALiveLockMakesTheDeviceBusyWithItsProcessAndAStaleOneDoesNot) {
    m_source.Lock(m_pty.SlavePath(), ::getpid());
    EXPECT_EQ(Only().StateText(), QStringLiteral("busy (process %1)").arg(::getpid()));
    // A process that has ended leaves its lock behind: the device is free again.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    m_source.Lock(m_pty.SlavePath(), child);
    EXPECT_EQ(Only().StateText(), "free");
}

TEST_F(Discovery, TheSystemConsoleIsMarked) {
    m_source.MakeConsole(m_pty.SlavePath());
    EXPECT_EQ(Only().StateText(), "system console");
}

TEST_F(Discovery, ADeviceTheUserMayNotOpenHasNoPermission) {
    ASSERT_EQ(::chmod(QFile::encodeName(m_pty.SlavePath()).constData(), 0600), 0);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(m_pty.SlavePath()).constData(), 0), 0);
        EXPECT_EQ(Only().StateText(), "no permission");
        return;
    }
    // Root may open anything: the user "nobody" asks in a child process.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(2);
        }
        qint64 pid = 0;
        const bool refused =
            DeviceState::Of(m_pty.SlavePath(), QString(), pid) == SerialDevice::State::NoPermission;
        ::_exit(refused ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(Discovery, ATypedPathMustBeATerminalDevice) {
    EXPECT_EQ(
        SerialDiscovery::Describe(m_folder.filePath(QStringLiteral("ttyUSB9")), {}).StateText(),
        "not present");
    QString why;
    EXPECT_TRUE(DeviceState::IsTerminalDevice(m_pty.SlavePath(), why));
    const QString link = m_source.Link(QStringLiteral("display"), m_pty.SlavePath());
    EXPECT_TRUE(DeviceState::IsTerminalDevice(link, why));

    EXPECT_FALSE(DeviceState::IsTerminalDevice(QStringLiteral("/dev/null"), why));
    EXPECT_EQ(why, "/dev/null: not a terminal device");
    EXPECT_FALSE(DeviceState::IsTerminalDevice(m_source.consolesFile + QStringLiteral("x"), why));
    EXPECT_EQ(why, m_source.consolesFile + QStringLiteral("x: No such file or directory"));
    EXPECT_FALSE(DeviceState::IsTerminalDevice(m_folder.path(), why));
    EXPECT_EQ(why, m_folder.path() + QStringLiteral(": not a device"));
}

} // namespace
