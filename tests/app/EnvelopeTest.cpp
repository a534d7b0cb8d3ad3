#include "support/WindowFixture.h"

#include "core/device/CLumo.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <unistd.h>

namespace {

class EnvelopeTest : public WindowFixture {};

TEST_F(EnvelopeTest, ASecondCommandWhileOneWaitsDoesNothing) {
    frmMain& w = Start();
    bool checked = false;
    m_clock.onIdle = [&](qint64) {
        if (checked) {
            return;
        }
        checked = true;
        // The first command is waiting for its acknowledgement.
        EXPECT_TRUE(w.Busy());
        EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
        EXPECT_FALSE(w.SSTab1->isEnabled());
        EXPECT_TRUE(Button("cmdExit")->isEnabled());
        Button("cmdVELT(2)")->click();
        Button("cmdEPSON(8)")->click();
        Button("cmdASCII1(65)")->click();
        Button("cmdLightTube")->click();
    };
    EXPECT_EQ(Press("cmdVELT(1)"), "04 01 49 30 17");
    EXPECT_TRUE(checked);
    EXPECT_EQ(m_pComm->writes.size(), 1);
    EXPECT_EQ(Status(), "Device does not respond.");
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor); // the default pointer again
    EXPECT_TRUE(w.SSTab1->isEnabled());

    // Afterwards the next command goes through.
    m_clock.onIdle = nullptr;
    m_pComm->AnswerFrames(QByteArray("\x06"));
    EXPECT_EQ(Press("cmdVELT(1)"), "04 01 49 30 17");
    EXPECT_EQ(Status(), "OK");
}

// While a firmware transfer runs (here armed, about to begin) the port is the transfer's: every
// tab's commands, the mode lists and the VT100 window are refused without touching it.
TEST_F(EnvelopeTest, EveryCommandIsRefusedWhileATransferRuns) {
    frmMain& w = Start();
    Combo("cboLumoType")->setCurrentIndex(6); // the 4x20 VT100 model enables the VT100 window
    m_pComm->journal.clear();
    QStringList opened; // a window opened despite the transfer is noted and closed
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened << modal->windowTitle();
            modal->close();
        }
    });
    closer.start(50);
    w.m_lumo().StartSendFile();
    for (const char* name : {"cmdVELT(1)", "cmdVELT(7)", "cmdEPSON(8)", "cmdASCII1(65)",
                             "cmdASCII2(0)", "cmdLightTube", "cmdMis"}) {
        Edit("txtStatus")->clear();
        Button(name)->click();
        EXPECT_EQ(Status(), "A firmware transfer is running.") << name;
    }
    Edit("txtStatus")->clear();
    Combo("cboOperation")->setCurrentIndex(2);
    EXPECT_EQ(Status(), "A firmware transfer is running.");
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_EQ(m_pComm->journal, QStringList());
    EXPECT_FALSE(w.Busy());

    w.m_lumo().StopSendFile(); // no transfer any more: the commands go through again
    m_pComm->AnswerFrames(QByteArray("\x06"));
    EXPECT_EQ(Press("cmdVELT(1)"), "04 01 49 30 17");
    EXPECT_EQ(Status(), "OK");
}

TEST_F(EnvelopeTest, TheStatusBoxExplainsAPortThatWouldNotOpen) {
    Start();
    m_pComm->failOpen = true;
    m_pComm->openFailure = "/dev/ttyS0: Permission denied";
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Commport open failed.");
    const QString tip = Edit("txtStatus")->toolTip();
    EXPECT_TRUE(tip.contains("/dev/ttyS0: Permission denied")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("dialout")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("LUMOQ4_COM1")) << tip.toStdString();

    m_pComm->openFailure = "/dev/ttyS0: in use by another program (process 4242)";
    Press("cmdVELT(1)");
    EXPECT_TRUE(Edit("txtStatus")->toolTip().contains("process 4242"));

    m_pComm->failOpen = false;
    m_pComm->AnswerFrames(QByteArray("\x06"));
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtStatus")->toolTip(), "");
}

TEST_F(EnvelopeTest, TheStatusBoxTipSaysWhatAClosedLineDidNotSend) {
    Start();
    m_pComm->AnswerFrames(QByteArray("\x06"));
    m_pComm->closeFailure =
        "Write failed: /dev/ttyUSB0: 812 bytes did not leave within 2213 ms and were discarded";
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Device is not connected.");
    EXPECT_EQ(Edit("txtStatus")->toolTip(),
              "Write failed: /dev/ttyUSB0: 812 bytes did not leave within 2213 ms and were "
              "discarded");

    m_pComm->closeFailure.clear();
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtStatus")->toolTip(), "");
}

// Exit while a command waits ends the process with code 0. Run in a child process.
void exitDuringCommand() {
    frmMain& w = *new frmMain;
    w.show();
    QPushButton* command = w.findChild<QPushButton*>("cmdVELT(1)");
    QPushButton* exitButton = w.findChild<QPushButton*>("cmdExit");
    QTimer::singleShot(0, command, [command] { command->click(); });
    QTimer::singleShot(100, exitButton, [exitButton] { exitButton->click(); });
    ::_exit(QApplication::exec());
}

TEST_F(EnvelopeTest, ExitDuringACommandEndsTheProgramWithCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    m_pComm->onOutput = nullptr; // silence: the command would wait 0.8 s
    modLumo::SetClock(nullptr);  // the real clock in the child
    EXPECT_EXIT(exitDuringCommand(), ::testing::ExitedWithCode(0), "");
    modLumo::SetClock(&m_clock);
}

} // namespace

namespace {

// Closes every modal window that comes up while it lives, recording titles and texts.
class ModalCloser {
public:
    ModalCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                QString seen = modal->windowTitle();
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    seen += ": " + box->text();
                }
                seen_ << seen;
                modal->close();
            }
        });
        m_timer.start(20);
    }
    QStringList seen_;

private:
    QTimer m_timer;
};

class SecondaryWindowsTest : public WindowFixture {};

TEST_F(SecondaryWindowsTest, TheMiscellaneousButtonsOpenTheirWindows) {
    frmMain& w = Start();
    w.show();
    {
        // The VT100 button is hidden and only enabled for the 4x20 VT100 model.
        Combo("cboLumoType")->setCurrentIndex(6);
        ModalCloser closer;
        Button("cmdMis")->click();
        ASSERT_FALSE(closer.seen_.isEmpty());
        EXPECT_EQ(closer.seen_.first(), "VT100 Mode Test");
    }
    Combo("cboLumoType")->setCurrentIndex(4);
    {
        ModalCloser closer;
        Button("cmdFirmwireUpdate")->click();
        ASSERT_FALSE(closer.seen_.isEmpty());
        EXPECT_TRUE(closer.seen_.join("\n").contains("19200"))
            << closer.seen_.join("\n").toStdString();
        // The password dialog was closed unanswered: the firmware dialog never opened.
        EXPECT_FALSE(closer.seen_.join("\n").contains("Firmware Update\n"));
    }
}

} // namespace
