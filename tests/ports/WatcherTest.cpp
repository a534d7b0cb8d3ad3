// The watcher over a device list the test changes: a device that comes or goes is reported
// once the watched folder changes, and the devices present at the start are told apart.
#include "core/ports/DeviceWatcher.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"
#include "support/QtPrinters.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Watcher : public ::testing::Test {
protected:
    Watcher() : m_source(m_folder.path()) {
        m_source.devices = {FixedDeviceSource::At(m_present.SlavePath())};
    }

    QTemporaryDir m_folder;
    FixedDeviceSource m_source;
    Pty m_present;
    Pty m_plugged;
};

TEST_F(Watcher, ADeviceThatComesAndGoesIsReported) {
    DeviceWatcher watcher;
    QSignalSpy appeared(&watcher, &DeviceWatcher::deviceAppeared);
    QSignalSpy removed(&watcher, &DeviceWatcher::deviceRemoved);

    m_source.devices << FixedDeviceSource::At(m_plugged.SlavePath());
    m_source.Touch();
    ASSERT_TRUE(appeared.wait(5000));
    EXPECT_EQ(appeared.at(0).at(0).value<SerialDevice>().path, m_plugged.SlavePath());
    ASSERT_EQ(watcher.AppearedSinceStart().size(), 1);
    EXPECT_EQ(watcher.AppearedSinceStart()[0].path, m_plugged.SlavePath());
    EXPECT_EQ(watcher.Devices().size(), 2);

    m_source.devices.removeLast();
    m_source.Touch();
    ASSERT_TRUE(removed.wait(5000));
    EXPECT_EQ(removed.at(0).at(0).value<SerialDevice>().path, m_plugged.SlavePath());
    EXPECT_TRUE(watcher.AppearedSinceStart().isEmpty());
    EXPECT_EQ(appeared.size(), 1);
}

TEST_F(Watcher, APortThatIsTakenAndLeftIsReportedAsItsStateChanges) {
    DeviceWatcher watcher;
    QSignalSpy changed(&watcher, &DeviceWatcher::devicesChanged);
    m_source.Lock(m_present.SlavePath(), QCoreApplication::applicationPid());
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(watcher.Devices()[0].StateText(),
              QStringLiteral("busy (process %1)").arg(QCoreApplication::applicationPid()));
    QFile::remove(m_source.lockFolder + QStringLiteral("/LCK..pts_") +
                  QFileInfo(m_present.SlavePath()).fileName());
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(watcher.Devices()[0].StateText(), "free");
}

} // namespace
