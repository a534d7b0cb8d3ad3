// The whole firmware update against the simulated display over a pty: reminder, password,
// the dialog, the loader dialogue, the transfer, the reboot.
#include "PtyDisplay.h"
#include "core/device/CLumo.h"
#include "gui/transfer/FirmwareUpdateEntry.h"
#include "gui/transfer/frmFirmwareUpdate.h"
#include "gui/transfer/frmPassword.h"
#include "support/ModalWatcher.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FirmwareSimulator, UpdateFromTheMainWindowEntryReachesTheDisplay) {
    PtyDisplay display;
    ASSERT_TRUE(display.IsOpen());
    qputenv("LUMOQ4_COM1", display.SlavePath().toLocal8Bit());

    QTemporaryDir dir;
    const QString image = dir.filePath("firmware.bin");
    QByteArray content;
    for (int i = 0; i < 2000; ++i) {
        content.append(static_cast<char>((i * 13) % 256));
    }
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    CLumo lumo;
    lumo.setCommPort(1);
    lumo.setBaudRate("19200");
    lumo.setParity("NONE");

    ModalWatcher watcher;
    int passwordTries = 0;
    bool sent = false;
    bool finished = false;
    QList<int> bar;
    QString selectedAfterRefusal;
    watcher.onBox = [&](const ModalWatcher::Box& box) {
        finished = finished || box.text == "Firmware Update OK!";
    };
    // Actions go through the event loop: a button that opens a box must not run inside the
    // watcher's own timer event, or the watcher could not see that box.
    watcher.onOtherModal = [&](QWidget* modal) {
        if (auto* password = qobject_cast<frmPassword*>(modal)) {
            if (passwordTries == 1 && selectedAfterRefusal.isEmpty()) {
                selectedAfterRefusal =
                    password->findChild<QLineEdit*>("txtPassword")->selectedText();
            }
            if (passwordTries < 2) {
                const QString typed = passwordTries == 0 ? "KQZD " : "kqzd";
                ++passwordTries;
                QTimer::singleShot(0, password, [password, typed] {
                    auto* text = password->findChild<QLineEdit*>("txtPassword");
                    text->selectAll();
                    QTest::keyClicks(text, typed);
                    password->findChild<QPushButton*>("cmdCtrl(0)")->click();
                });
            }
        } else if (auto* dialog = qobject_cast<frmFirmwareUpdate*>(modal)) {
            bar << dialog->findChild<QProgressBar*>("pb")->value();
            if (!sent) {
                sent = true;
                dialog->findChild<QComboBox*>("cboProtocol")->setCurrentIndex(1);
                dialog->findChild<QLineEdit*>("txtFile")->setText(image);
                QTimer::singleShot(0, dialog, [dialog] {
                    dialog->findChild<QPushButton*>("cmdCtrl(0)")->click();
                });
            } else if (finished && dialog->findChild<QPushButton*>("cmdCtrl(1)")->isEnabled()) {
                QTimer::singleShot(0, dialog, [dialog] {
                    dialog->findChild<QPushButton*>("cmdCtrl(1)")->click();
                });
            }
        }
    };

    RunFirmwareUpdate(lumo, nullptr);

    ASSERT_GE(watcher.boxes.size(), 3u);
    EXPECT_EQ(watcher.boxes[0].text, "Before updating the firmware, please make sure the device "
                                     "baudrate is set to 19200.");
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(watcher.boxes[1].text, "Invalid Password!");
    EXPECT_EQ(selectedAfterRefusal, "KQZD ");
    EXPECT_EQ(watcher.boxes.back().text, "Firmware Update OK!");
    EXPECT_EQ(watcher.boxes.size(), 3u);

    QByteArray expected = content;
    expected.append(QByteArray(128 - content.size() % 128, '\x1A'));
    EXPECT_TRUE(display.Emulator().ImageComplete());
    EXPECT_EQ(display.Emulator().ReceivedImage().size(), expected.size());
    EXPECT_TRUE(display.Emulator().ReceivedImage() == expected);
    EXPECT_TRUE(QTest::qWaitFor([&] { return display.Emulator().Reboots() == 1; }, 3000));
    int between = 0;
    for (const int v : bar) {
        between += (v > 0 && v < 100) ? 1 : 0;
    }
    EXPECT_GT(between, 0); // the bar was seen on its way
    lumo.Disconnect();
}

} // namespace
