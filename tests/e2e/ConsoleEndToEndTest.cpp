// The system console is never written by default. The test re-runs itself in a private mount
// namespace where a simulated display stands in for /dev/ttyS0 and the kernel's console files
// name ttyS0: whatever the program writes to the console reaches that display.
#include "E2EFixture.h"
#include "core/common/AppInfo.h"
#include "core/ports/DeviceSource.h"
#include "core/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

class ConsoleEndToEnd : public E2EFixture {
protected:
    // True inside the namespace; outside, runs this test there and checks its outcome.
    static bool InNamespace() {
        if (qEnvironmentVariableIsSet("LUMOQ4_TEST_CONSOLE_NS")) {
            return true;
        }
        if (::getuid() != 0 || QProcess::execute("unshare", {"-m", "true"}) != 0) {
            ADD_FAILURE() << "needs root and unshare -m to put a pty in the console's place";
            return false;
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LUMOQ4_TEST_CONSOLE_NS", "1");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        child.start("unshare",
                    {"-m", QCoreApplication::applicationFilePath(),
                     QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        EXPECT_TRUE(child.waitForFinished(120000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        return false;
    }

    // The simulated display in place of /dev/ttyS0, and ttyS0 the console.
    void PutDisplayInTheConsolesPlace() {
        Attach();
        qunsetenv("LUMOQ4_COM1");
        const QString consoles = m_folder.filePath("consoles");
        const QString active = m_folder.filePath("active");
        QFile file(consoles);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ttyS0                -W- (EC p a)    4:64\n");
        file.close();
        QFile activeFile(active);
        ASSERT_TRUE(activeFile.open(QIODevice::WriteOnly));
        activeFile.write("ttyS0\n");
        activeFile.close();
        ASSERT_EQ(QProcess::execute("mount", {"--bind", m_pDisplay->SlavePath(), "/dev/ttyS0"}), 0);
        ASSERT_EQ(QProcess::execute("mount", {"--bind", consoles, "/proc/consoles"}), 0);
        ASSERT_EQ(QProcess::execute("mount", {"--bind", active, "/sys/class/tty/console/active"}),
                  0);
        m_pPrevious = DeviceSource::Install(nullptr); // the machine's own files
    }
    void TearDown() override {
        E2EFixture::TearDown();
        DeviceSource::Install(m_pPrevious);
    }

    QTemporaryDir m_folder;
    DeviceSource* m_pPrevious = nullptr;
};

TEST_F(ConsoleEndToEnd, AFreshOrBlankMappingNeverReachesTheConsoleAndTheWindowSaysWhy) {
    if (!InNamespace()) {
        return;
    }
    PutDisplayInTheConsolesPlace();
    m_pWindow = std::make_unique<frmMain>();
    m_pWindow->show();
    EXPECT_EQ(Find<QLabel>("lblDevice")->styleSheet(), "color: #a05a00;");

    for (const char* mapping : {"", " "}) {
        SCOPED_TRACE(mapping);
        if (*mapping != '\0') {
            SettingsStore::SaveSetting(AppInfo::Name(), "Ports", "COM1", mapping);
        }
        Press("cmdVELT(1)");
        EXPECT_EQ(Status(), "Commport open failed. COM1 leads to the system console, which is "
                            "never opened by default.");
        const QString tip = Edit("txtStatus")->toolTip();
        EXPECT_TRUE(tip.startsWith("COM1 leads to /dev/ttyS0, the system console, only because "
                                   "nothing maps it\nWriting to the system console disturbs this "
                                   "computer. Press \"Choose Device…\" on the Setting tab"))
            << tip.toStdString();
    }

    // lumoq4ctl with the same blank mapping.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LUMOQ4_COM1");
    environment.remove("LUMOQ4_PORT");
    QProcess ctl;
    ctl.setProcessEnvironment(environment);
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(LUMOQ4CTL, {"version"});
    ASSERT_TRUE(ctl.waitForFinished(60000));
    EXPECT_NE(ctl.exitCode(), 0);
    const QString said = QString::fromUtf8(ctl.readAll());
    EXPECT_TRUE(said.contains("COM1 leads to /dev/ttyS0, the system's console, only because "
                              "nothing maps it"))
        << said.toStdString();

    QTest::qWait(300);
    EXPECT_EQ(m_pDisplay->Received().toHex(' '), "");

    // Chosen on purpose, the console is used.
    qputenv("LUMOQ4_COM1", "/dev/ttyS0");
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(m_pDisplay->Received().toHex(' '), "04 01 49 30 17");
}

} // namespace
