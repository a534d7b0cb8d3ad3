// A device the user may not open. The line's slave side gets no permissions at all; a user who is
// not root is refused by that alone. Root may open anything, so as root (as in CI) the same test
// runs again in a child process as the user "nobody", against the same line, and the parent
// checks that the child passed and that nothing reached the display.
#include "E2EFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kChildLine = "LUMOQ4_TEST_UNPERMITTED_LINE";
const char* const kTestName = "Permission.ADeviceWithoutPermissionIsRefusedWithTheDialoutAdvice";

class Permission : public E2EFixture {
protected:
    // Presses a command against a line the user may not open and checks what the technician sees.
    void ExpectRefusedWithAdvice() {
        Press("cmdVELT(1)");
        EXPECT_EQ(Status(), "Commport open failed.");
        const QString tip = Edit("txtStatus")->toolTip();
        EXPECT_TRUE(tip.contains("Permission denied")) << tip.toStdString();
        EXPECT_TRUE(tip.contains("dialout group")) << tip.toStdString();
        ExpectUsable();
    }

    // Runs this test again as "nobody" against i_sLine. Returns false with a reason to skip.
    bool RunAsNobody(const QString& i_sLine, QString* o_sWhy) {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (setpriv.isEmpty()) {
            *o_sWhy = "setpriv (util-linux) is not installed";
            return false;
        }
        // The build folder may sit where "nobody" cannot reach it: run a copy from a folder that
        // anybody may enter, and give the child a settings folder it may write.
        QTemporaryDir folder;
        const QString copy = folder.filePath("e2e_tests");
        if (!QFile::copy(QCoreApplication::applicationFilePath(), copy)) {
            *o_sWhy = "could not copy the test program";
            return false;
        }
        ::chmod(QFile::encodeName(folder.path()).constData(), 0777);
        ::chmod(QFile::encodeName(copy).constData(), 0755);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kChildLine, i_sLine);
        environment.insert("LUMOQ4_TEST_TMP", folder.path());
        environment.insert("HOME", folder.path());
        environment.remove("XDG_RUNTIME_DIR");
        // The leak checker's suppression file lies in the source tree, which "nobody" may not be
        // able to read; the same code runs with leak checking in the parent.
        environment.insert("ASAN_OPTIONS",
                           environment.value("ASAN_OPTIONS") + QStringLiteral(":detect_leaks=0"));
        environment.remove("LSAN_OPTIONS");

        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", copy,
                              QStringLiteral("--gtest_filter=%1").arg(kTestName)});
        EXPECT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return true;
    }
};

TEST_F(Permission, ADeviceWithoutPermissionIsRefusedWithTheDialoutAdvice) {
    const QString childLine = qEnvironmentVariable(kChildLine);
    if (!childLine.isEmpty()) {
        // The child, running as another user: the parent's line, the parent's display.
        ASSERT_NE(::access(QFile::encodeName(childLine).constData(), R_OK | W_OK), 0);
        qputenv("LUMOQ4_COM1", childLine.toLocal8Bit());
        m_pWindow = std::make_unique<frmMain>();
        m_pWindow->show();
        ExpectRefusedWithAdvice();
        return;
    }

    Start();
    const QByteArray slave = QFile::encodeName(m_pDisplay->SlavePath());
    struct stat before {};
    ASSERT_EQ(::stat(slave.constData(), &before), 0);
    ASSERT_EQ(::chmod(slave.constData(), 0), 0);
    if (::access(slave.constData(), R_OK | W_OK) != 0) {
        ExpectRefusedWithAdvice();
    } else {
        QString why;
        const bool ran = RunAsNobody(m_pDisplay->SlavePath(), &why);
        if (!ran) {
            ::chmod(slave.constData(), before.st_mode & 07777);
            GTEST_SKIP() << "root may open the line and " << why.toStdString();
        }
    }
    EXPECT_TRUE(m_pDisplay->Received().isEmpty()) << m_pDisplay->Received().toHex(' ').data();

    // Given back its permissions, the same line works at once.
    ASSERT_EQ(::chmod(slave.constData(), before.st_mode & 07777), 0);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
}

} // namespace
