// Another program's hold on a device refuses the open whatever name reaches the device: its
// lock file on the device's own name, in the formats serial programs write, and its flock.
#include "core/common/LumoError.h"
#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/serial/SerialPortComm.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class DeviceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsValid());
        m_sLink = m_folder.path() + "/display";
        ASSERT_TRUE(QFile::link(m_pty.SlavePath(), m_sLink));
        m_sLockFile = TestEnvironment::IsolateDevices().lockFolder + "/LCK..pts_" +
                      QFileInfo(m_pty.SlavePath()).fileName();
        qputenv("LUMOQ4_COM1", QFile::encodeName(m_sLink));
        m_lumo.setCommPort(1);
        m_lumo.setBaudRate("19200");
        m_lumo.setParity("NONE");
    }
    void TearDown() override {
        m_lumo.Disconnect();
        QFile::remove(m_sLockFile);
        qunsetenv("LUMOQ4_COM1");
    }

    void WriteLock(const QByteArray& i_bContent) {
        QFile lock(m_sLockFile);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(i_bContent);
    }

    static QString Reason() { return frmCLumo::Instance().LastOpenFailure(); }

    RecordingPrompt m_prompt;
    QTemporaryDir m_folder;
    Pty m_pty;
    QString m_sLink;
    QString m_sLockFile;
    CLumo m_lumo;
};

TEST_F(DeviceLockTest, ALiveLockInEitherFormatOnTheDeviceRefusesALinkToItAndAStaleOneDoesNot) {
    QProcess holder;
    holder.start("sleep", {"60"});
    ASSERT_TRUE(holder.waitForStarted());
    const QByteArray pid = QByteArray::number(holder.processId());

    WriteLock(pid.rightJustified(10, ' ') + "\n"); // FHS: the name comes from the process
    EXPECT_EQ(m_lumo.Connect(), -2);
    EXPECT_EQ(Reason(), m_sLink + ": in use by sleep, process " + pid);

    WriteLock(pid.rightJustified(10, ' ') + " minicom root\n"); // minicom and lockdev
    EXPECT_EQ(m_lumo.Connect(), -2);
    EXPECT_EQ(Reason(), m_sLink + ": in use by minicom, process " + pid);

    holder.kill();
    holder.waitForFinished();
    EXPECT_EQ(m_lumo.Connect(), 0); // the holder has ended: its lock is stale
    EXPECT_EQ(m_pty.ReadAvailable(), QByteArray());
}

TEST_F(DeviceLockTest, AFlockOnTheDeviceRefusesEveryOtherNameForIt) {
    // Another program that flocks the device, as picocom and tio do.
    const int other = ::open(QFile::encodeName(m_pty.SlavePath()).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(m_lumo.Connect(), -2);
    EXPECT_EQ(Reason(), m_sLink + ": in use by another program (it holds the device locked)");
    ::close(other);

    // Two opens of this program, the first through the link, the second by the device's name.
    SerialPortComm first;
    first.setCommPort(1);
    first.setDevicePath(m_sLink);
    first.setSettings("19200n,8,1");
    first.setPortOpen(true);
    SerialPortComm second;
    second.setCommPort(1);
    second.setDevicePath(m_pty.SlavePath());
    second.setSettings("19200n,8,1");
    int number = 0;
    try {
        second.setPortOpen(true);
    } catch (const LumoError& e) {
        number = e.number();
    }
    EXPECT_EQ(number, 8010);
    EXPECT_FALSE(second.PortOpen());
    first.setPortOpen(false);
    second.setPortOpen(true); // free again once the first has closed
    EXPECT_TRUE(second.PortOpen());
    second.setPortOpen(false);
    EXPECT_EQ(m_pty.ReadAvailable(), QByteArray());
}

} // namespace
