// Find Display and the line speed, end to end: the real window and serial backend against a
// simulated display that keeps its own speed on a pseudo-terminal.
#include "E2EFixture.h"

#include "core/common/AppInfo.h"
#include "core/device/frmCLumo.h"
#include "core/settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kVersionQuery("\x04\x01\x56\x17");
const QByteArray kClearAll("\x04\x01\x43\x31\x58\x17");

class FindDisplay : public E2EFixture {
protected:
    FindDisplay() : m_source(m_folder.path()) {}

    static QString Stored(const char* i_pSection, const char* i_pKey) {
        return SettingsStore::GetSetting(AppInfo::Name(), QLatin1String(i_pSection),
                                         QLatin1String(i_pKey), QStringLiteral("<missing>"));
    }

    // A display of its own speed on COM1.
    void StartAt(int i_iSpeed, bool i_blnSilent = false) {
        PtyDisplayOptions options;
        options.lineSpeed = i_iSpeed;
        options.silent = i_blnSilent;
        Start(options);
    }

    // Presses Find Display and answers the dialog that starts it, with "Also try the other
    // serial devices" ticked or not; returns the devices the dialog listed.
    QStringList FindWith(bool i_blnAllDevices) {
        QStringList listed;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->objectName(), "frmFindDisplay");
            FindChild<QCheckBox>(*dialog, "chkAllDevices")->setChecked(i_blnAllDevices);
            const auto* list = FindChild<QListWidget>(*dialog, "lstFindDevices");
            for (int i = 0; i < list->count(); ++i) {
                listed << list->item(i)->text();
            }
            FindChild<QPushButton>(*dialog, "cmdOK")->click();
        });
        Press("cmdFindDisplay");
        return listed;
    }

    QString SettingsAsStored() {
        return Stored("Settings", "BaudRate") + QLatin1Char('/') + Stored("Settings", "Parity");
    }

    QTemporaryDir m_folder;
    FixedDeviceSource m_source;
};

TEST_F(FindDisplay, ADisplayAt9600OnAnotherDeviceIsFoundAndThePortFollowsIt) {
    PtyDisplayOptions options;
    options.lineSpeed = 9600;
    Attach(options);
    qunsetenv("LUMOQ4_COM1");
    // COM1 leads to an adapter that is gone; the display hangs on a listed device.
    const QString gone = m_folder.filePath(QStringLiteral("ttyUSB0"));
    SettingsStore::SaveSetting(AppInfo::Name(), QStringLiteral("Ports"), QStringLiteral("COM1"),
                               gone);
    const QString pty = m_pDisplay->SlavePath();
    const QString alias = m_source.Link(QStringLiteral("usb-Lumo_Display_0042-if00"), pty);
    SerialDevice device;
    device.path = pty;
    device.description = QStringLiteral("USB-Serial Controller");
    m_source.devices = {device};
    m_pWindow = std::make_unique<frmMain>();
    m_pWindow->show();

    EXPECT_EQ(FindWith(true), QStringList({QStringLiteral("%1  (not present: left out)").arg(gone),
                                           pty + QStringLiteral("  USB-Serial Controller")}));
    EXPECT_EQ(Status(),
              QStringLiteral("Found: %1, 9600 baud, NONE parity, firmware V1.07").arg(pty));
    EXPECT_EQ(Edit("txtStatus")->toolTip(),
              QStringLiteral("Tried: %1.\nLeft out: %2: not present").arg(pty, gone));
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "9600");
    EXPECT_EQ(Combo("cboParity")->currentText(), "NONE");
    EXPECT_EQ(SettingsAsStored(), "2/0");
    EXPECT_EQ(Stored("Ports", "COM1"), alias);
    // Three settings at 38400, three at 19200, then 9600 with no parity: the query alone, then
    // the clear of every cell.
    EXPECT_EQ(m_pDisplay->Received(), kVersionQuery.repeated(7) + kClearAll);
    ExpectUsable();

    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Find<QLabel>("lblVersion")->text(), "Firmware Version : V1.07");
}

TEST_F(FindDisplay, ASilentDisplayIsNotFoundAndTheSelectionsStay) {
    StartAt(38400, true);
    FakeClock clock; // the two passes' waits run at once; nothing answers anyway
    FindWith(false);
    EXPECT_EQ(Status(),
              QStringLiteral("No display found on %1 (21 settings, 2 passes). Check the cable and "
                             "the power; a display in VT100 mode or in its loader does not answer.")
                  .arg(m_pDisplay->SlavePath()));
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "38400");
    EXPECT_EQ(SettingsAsStored(), "0/0");
    EXPECT_FALSE(frmCLumo::Instance().MSComm1().PortOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pDisplay->Received().size() >= 168; }, 3000));
    EXPECT_EQ(m_pDisplay->Received(), kVersionQuery.repeated(42));
    ExpectUsable();
}

TEST_F(FindDisplay, CancelStopsTheSearchWithThePortClosed) {
    StartAt(600);
    FakeClock clock;
    bool cancelled = false;
    clock.onIdle = [&](qint64) {
        auto* progress = m_pWindow->findChild<QProgressDialog*>("dlgFindDisplay");
        if (!cancelled && clock.Idles() == 30 && progress != nullptr) {
            EXPECT_TRUE(progress->labelText().startsWith(
                QStringLiteral("Looking for the display on %1\n").arg(m_pDisplay->SlavePath())));
            progress->findChild<QPushButton*>()->click();
            cancelled = true;
        }
    };
    FindWith(false);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(Status(), "Find Display cancelled.");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "38400");
    EXPECT_EQ(SettingsAsStored(), "0/0");
    EXPECT_FALSE(frmCLumo::Instance().MSComm1().PortOpen());
    EXPECT_EQ(m_pWindow->findChild<QProgressDialog*>("dlgFindDisplay"), nullptr);
    ExpectUsable();
}

TEST_F(FindDisplay, OnlyTheSelectedPortsDeviceIsTriedAndTheFoundDisplayIsWipedClean) {
    // A receipt printer on another serial device of the till.
    Pty printer;
    m_source.devices = {FixedDeviceSource::At(printer.SlavePath())};
    StartAt(9600);
    const QString pty = m_pDisplay->SlavePath();

    EXPECT_EQ(FindWith(false), QStringList({pty}));
    EXPECT_EQ(Status(),
              QStringLiteral("Found: %1, 9600 baud, NONE parity, firmware V1.07").arg(pty));
    EXPECT_EQ(m_pDisplay->Received(), kVersionQuery.repeated(7) + kClearAll);
    // What the queries at 38400 and 19200 left on the glass is gone.
    EXPECT_EQ(Line(0), QString(20, QLatin1Char(' ')));
    EXPECT_EQ(Line(1), QString(20, QLatin1Char(' ')));
    EXPECT_EQ(printer.ReadAvailable(), QByteArray());
    ExpectUsable();
}

TEST_F(FindDisplay, TheComputerFollowsTheDisplayToTheRateItWasSetTo) {
    StartAt(38400);
    Combo("cboS_BaudRate")->setCurrentIndex(2); // 9600
    Press("cmdVELT(0)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(m_pDisplay->LineSpeed(), 9600);
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "9600");
    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Find<QLabel>("lblVersion")->text(), "Firmware Version : V1.07");

    // A computer left at the old rate is not understood.
    Combo("cboBaudRate")->setCurrentIndex(0);
    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "Device does not respond.");
}

} // namespace
