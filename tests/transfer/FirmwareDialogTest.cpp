// The firmware dialog over a scripted display: what the technician sees and what goes out.
#include "TransferFixture.h"
#include "core/common/AppInfo.h"
#include "core/device/frmCLumo.h"
#include "core/settings/SettingsStore.h"
#include "gui/transfer/frmFirmwareUpdate.h"
#include "support/FindChild.h"
#include "support/ModalWatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The transfer's session and scripted port, with the port left closed: the dialog opens it.
class FirmwareDialog : public TransferFixture {
protected:
    void SetUp() override { PrepareSession(); }

    // A display in its loader: prompts after ESC "Load" and "XA" CR, the start request after
    // "PX"/"ZX", ACK for every block unless the receiver's script says otherwise.
    void PlayLoader(const QByteArray& i_bStart = "C") {
        receiver->onWrite = [this, i_bStart](const QByteArray& b) {
            if (b == "\x1BLoad" || b == "XA\r") {
                comm->Queue("\r\n>", 100);
            } else if ((b == "PX\r\n" || b == "ZX\r\n") && !i_bStart.isEmpty()) {
                comm->Queue(i_bStart, 250);
            }
        };
    }

    template <typename T> static T* Find(QWidget& w, const char* i_pName) {
        return FindChild<T>(w, i_pName);
    }

    static bool ButtonsEnabled(QWidget& w) {
        return Find<QPushButton>(w, "cmdCtrl(0)")->isEnabled() &&
               Find<QPushButton>(w, "cmdCtrl(1)")->isEnabled() &&
               Find<QPushButton>(w, "cmdCtrl(2)")->isEnabled();
    }

    // Runs the event loop until i_done holds or i_iMs of real time passed.
    static bool PumpUntil(const std::function<bool()>& i_done, int i_iMs = 10000) {
        QElapsedTimer timer;
        timer.start();
        while (!i_done() && timer.elapsed() < i_iMs) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        return i_done();
    }
};

TEST_F(FirmwareDialog, LooksAsDesigned) {
    frmFirmwareUpdate dialog(lumo);
    EXPECT_EQ(dialog.windowTitle(), "Firmware Update");
    auto* protocol = Find<QComboBox>(dialog, "cboProtocol");
    ASSERT_EQ(protocol->count(), 2);
    EXPECT_EQ(protocol->itemText(0), "XModem - Checksum");
    EXPECT_EQ(protocol->itemText(1), "XModem - CRC");
    EXPECT_FALSE(protocol->isEditable());
    auto* type = Find<QComboBox>(dialog, "cboType");
    ASSERT_EQ(type->count(), 2);
    EXPECT_EQ(type->itemText(0), "Encripted - PX");
    EXPECT_EQ(type->itemText(1), "Not Encripted - ZX");
    EXPECT_EQ(Find<QLabel>(dialog, "Label1")->text(), "File Name && Path:");
    EXPECT_EQ(Find<QLabel>(dialog, "Label2")->text(), "Using Protocol:");
    EXPECT_EQ(Find<QLabel>(dialog, "Label3")->text(), "Firmware Code:");
    EXPECT_EQ(Find<QPushButton>(dialog, "cmdCtrl(0)")->text(), "&Send");
    EXPECT_EQ(Find<QPushButton>(dialog, "cmdCtrl(1)")->text(), "&Close");
    EXPECT_EQ(Find<QPushButton>(dialog, "cmdCtrl(2)")->text(), "&Browse...");
    EXPECT_EQ(Find<QPushButton>(dialog, "cmdStop")->text(), "S&top");
    EXPECT_TRUE(Find<QPushButton>(dialog, "cmdCtrl(2)")->isDefault());
    EXPECT_EQ(Find<QProgressBar>(dialog, "pb")->maximum(), 100);
    auto* timer = Find<QTimer>(dialog, "Timer1");
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(FirmwareDialog, MissingFileIsReportedAndNothingIsWritten) {
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(dir.filePath("nothing-here.bin"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].title, "53");
    EXPECT_TRUE(watcher.boxes[0].text.startsWith("File not found"))
        << watcher.boxes[0].text.toStdString();
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::NoIcon); // text, number as title, OK only
    EXPECT_TRUE(comm->writes.isEmpty());
    EXPECT_EQ(comm->opens, 0);
    EXPECT_TRUE(ButtonsEnabled(dialog));
}

TEST_F(FirmwareDialog, EmptyImageIsRefusedBeforeTheLoaderSwitch) {
    ModalWatcher watcher;
    PlayLoader();
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile(QByteArray()));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].title, "75");
    EXPECT_TRUE(watcher.boxes[0].text.endsWith(" is empty, not a firmware image"))
        << watcher.boxes[0].text.toStdString();
    EXPECT_TRUE(comm->writes.isEmpty());
    EXPECT_EQ(comm->opens, 0);
    EXPECT_TRUE(ButtonsEnabled(dialog));
}

TEST_F(FirmwareDialog, PortThatCannotOpenShowsErrcode2) {
    ModalWatcher watcher;
    comm->failOpen = true;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].text, "Errcode: -2");
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(comm->writes.isEmpty());
    EXPECT_TRUE(ButtonsEnabled(dialog));
    EXPECT_FALSE(frmCLumo::Instance().Timer1.isActive());
}

TEST_F(FirmwareDialog, FailedLoaderWriteShowsErrcode3AndStartsNoTransfer) {
    ModalWatcher watcher;
    PlayLoader();
    comm->deadAtWrite = 1;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    EXPECT_EQ(watcher.Texts(), QStringList{"Errcode: -3"});
    EXPECT_FALSE(frmCLumo::Instance().Timer1.isActive());
    EXPECT_TRUE(ButtonsEnabled(dialog));
}

TEST_F(FirmwareDialog, SilentDisplayShowsErrcode4WithTheBarAt20) {
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    EXPECT_EQ(watcher.Texts(), QStringList{"Errcode: -4"});
    EXPECT_TRUE(PumpUntil([&] { return Find<QProgressBar>(dialog, "pb")->value() == 20; }));
    EXPECT_EQ(comm->writes.size(), 1);
}

TEST_F(FirmwareDialog, SettingsAreRememberedAtClose) {
    const QString folder = AppInfo::ProgramFolder();
    SettingsStore::SaveSetting(folder, "XModem", "File", "/firmware/old.bin");
    {
        frmFirmwareUpdate dialog(lumo);
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtFile")->text(), "/firmware/old.bin");
        Find<QComboBox>(dialog, "cboProtocol")->setCurrentIndex(1);
        Find<QComboBox>(dialog, "cboType")->setCurrentIndex(1);
        dialog.show();
        Find<QPushButton>(dialog, "cmdCtrl(1)")->click();
    }
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Xmodem", "Type"), "1");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Code", "Type"), "1");
    {
        frmFirmwareUpdate dialog(lumo);
        EXPECT_EQ(Find<QComboBox>(dialog, "cboProtocol")->currentIndex(), 1);
        EXPECT_EQ(Find<QComboBox>(dialog, "cboType")->currentIndex(), 1);
        Find<QComboBox>(dialog, "cboType")->setCurrentIndex(0);
        dialog.show();
        dialog.close(); // the close box stores them too
    }
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Code", "Type"), "0");
    SettingsStore::SaveSetting("LumoQ4 Utility", "Xmodem", "Type", "7");
    frmFirmwareUpdate dialog(lumo);
    EXPECT_EQ(Find<QComboBox>(dialog, "cboProtocol")->currentIndex(), 0);
}

TEST_F(FirmwareDialog, BrowseStoresTheChosenFileAndCancelChangesNothing) {
    const QString path = MakeFile("abc");
    const QString folder = AppInfo::ProgramFolder();
    SettingsStore::SaveSetting(folder, "XModem", "File", dir.path());
    ModalWatcher watcher;
    bool cancel = true;
    QString title;
    watcher.onOtherModal = [&](QWidget* modal) {
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            title = files->windowTitle();
            if (cancel) {
                files->reject();
            } else {
                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                ASSERT_NE(name, nullptr);
                name->setText(path);
                QMetaObject::invokeMethod(files, "accept");
            }
        }
    };
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    auto* file = Find<QLineEdit>(dialog, "txtFile");
    Find<QPushButton>(dialog, "cmdCtrl(2)")->click();
    EXPECT_EQ(title, "Sending File");
    EXPECT_EQ(file->text(), dir.path());
    EXPECT_EQ(SettingsStore::GetSetting(folder, "XModem", "File"), dir.path());
    cancel = false;
    Find<QPushButton>(dialog, "cmdCtrl(2)")->click();
    EXPECT_EQ(file->text(), path);
    EXPECT_EQ(SettingsStore::GetSetting(folder, "XModem", "File"), path);
}

TEST_F(FirmwareDialog, FullRunEndsWithFirmwareUpdateOk) {
    clock.UseRealTime(); // real time: the bar has to be seen moving
    QByteArray content;
    for (int i = 0; i < 1000; ++i) {
        content.append(static_cast<char>(i % 256));
    }
    PlayLoader();
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    auto* pb = Find<QProgressBar>(dialog, "pb");
    QList<int> bar;
    bool disabledWhileRunning = true;
    watcher.onLook = [&] {
        if (watcher.boxes.empty() && !receiver->blocks.isEmpty()) {
            // While the blocks go out: the bar as the technician sees it.
            if (bar.isEmpty() || bar.last() != pb->value()) {
                bar << pb->value();
            }
            disabledWhileRunning = disabledWhileRunning && !ButtonsEnabled(dialog);
        }
    };
    dialog.show();
    Find<QComboBox>(dialog, "cboProtocol")->setCurrentIndex(1);
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile(content));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_TRUE(PumpUntil([&] { return !watcher.boxes.empty(); }, 30000));
    EXPECT_EQ(watcher.boxes[0].text, "Firmware Update OK!");
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(Hex(comm->writes.mid(0, 3).join(' ')), "1B 4C 6F 61 64 20 58 41 0D 20 50 58 0D 0A");
    QByteArray received;
    for (const QByteArray& b : receiver->blocks) {
        EXPECT_EQ(b.size(), 133); // CRC trailer
        received += b.mid(3, 128);
    }
    EXPECT_EQ(received, content + QByteArray(24, '\x1A'));
    EXPECT_EQ(Hex(receiver->others.mid(3).join()), "04 1B 52 0D");
    // The bar was seen on its way while the blocks went out.
    EXPECT_TRUE(std::any_of(bar.begin(), bar.end(), [](int v) { return v > 0 && v < 100; }));
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(PumpUntil([&] { return ButtonsEnabled(dialog); }));
}

TEST_F(FirmwareDialog, TransferEndedByTheDisplayIsReportedWithItsBlock) {
    PlayLoader();
    receiver->answer = [](int write) { return write == 1 ? QByteArray("\x18") : "\x06"; };
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QComboBox>(dialog, "cboProtocol")->setCurrentIndex(1);
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile(QByteArray(300, 'z')));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_TRUE(PumpUntil([&] { return !watcher.boxes.empty(); }));
    EXPECT_EQ(
        watcher.Texts(),
        QStringList{"Firmware update ended early: the display cancelled the transfer at block 2 of "
                    "3. The display stays in its loader; the file can be sent again."});
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(PumpUntil([&] { return ButtonsEnabled(dialog); }));
}

// Stop pressed before the transfer's first round: nothing of the image goes out, the loader is
// told to drop the transfer it was asked for, and the end is announced all the same.
TEST_F(FirmwareDialog, StopBeforeTheTransferBeginsIsAnnounced) {
    PlayLoader();
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    auto* stop = Find<QPushButton>(dialog, "cmdStop");
    EXPECT_FALSE(stop->isEnabled());
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_TRUE(stop->isEnabled());
    stop->click();
    ASSERT_TRUE(PumpUntil([&] { return !watcher.boxes.empty(); }));
    EXPECT_EQ(watcher.Texts(),
              QStringList{"Firmware update ended early: the transfer was stopped before the first "
                          "block. The display stays in its loader; the file can be sent again."});
    // The loader dialogue, then XModem's abort, which takes the loader back to its prompt.
    ASSERT_EQ(comm->writes.size(), 4);
    EXPECT_EQ(comm->writes.back(), QByteArray("\x18\x18"));
    EXPECT_TRUE(PumpUntil([&] { return ButtonsEnabled(dialog); }));
    EXPECT_FALSE(stop->isEnabled());
}

TEST_F(FirmwareDialog, DisplayThatNeverAsksForTheFileIsReported) {
    PlayLoader(QByteArray());
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
    ASSERT_TRUE(PumpUntil([&] { return !watcher.boxes.empty(); }));
    EXPECT_EQ(watcher.Texts(),
              QStringList{"Firmware update failed: the display never asked for the file. No "
                          "block was sent. The display stays in its loader; the file can be sent "
                          "again."});
    ASSERT_EQ(comm->writes.size(), 4); // the loader dialogue, then the abort
    EXPECT_EQ(Hex(comm->writes[3]), "18 18");
    EXPECT_TRUE(PumpUntil([&] { return ButtonsEnabled(dialog); }));
}

TEST_F(FirmwareDialog, SendAgainAfterACompletedTransferRepeatsEverything) {
    PlayLoader("\x15"); // checksum blocks: a NAK asks for the file
    ModalWatcher watcher;
    frmFirmwareUpdate dialog(lumo);
    dialog.show();
    Find<QComboBox>(dialog, "cboProtocol")->setCurrentIndex(0);
    Find<QComboBox>(dialog, "cboType")->setCurrentIndex(1);
    Find<QLineEdit>(dialog, "txtFile")->setText(MakeFile("abc"));
    for (int run = 1; run <= 2; ++run) {
        Find<QPushButton>(dialog, "cmdCtrl(0)")->click();
        ASSERT_TRUE(PumpUntil([&] { return watcher.boxes.size() == size_t(run); }));
        EXPECT_TRUE(PumpUntil([&] { return ButtonsEnabled(dialog); }));
    }
    EXPECT_EQ(watcher.Texts(), (QStringList{"Firmware Update OK!", "Firmware Update OK!"}));
    EXPECT_EQ(receiver->blocks.size(), 2);
    EXPECT_EQ(comm->writes.count("ZX\r\n"), 2);
}

} // namespace
