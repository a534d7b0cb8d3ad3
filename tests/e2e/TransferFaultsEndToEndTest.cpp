#include "E2EFixture.h"

#include "core/device/CLumo.h"
#include "gui/transfer/frmFirmwareUpdate.h"
#include "gui/transfer/frmPassword.h"
#include "support/ModalWatcher.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// The firmware transfer against the simulated display's loader, with the line or the file
// failing part way.
class TransferFaults : public E2EFixture {
protected:
    void StartLoader(const PtyDisplayOptions& i_options) {
        PtyDisplayOptions options = i_options;
        options.pollIntervalMs = 100; // the receiver repeats its start request often
        Start(options);
        m_sImage = m_folder.filePath("image.bin");
        QFile image(m_sImage);
        ASSERT_TRUE(image.open(QIODevice::WriteOnly));
        image.write(QByteArray(600, '\x5A')); // five blocks, the last one padded
        image.close();
    }

    // Switches the display into its loader and sends the image; returns when the run is over.
    XModemOutcome Transfer() {
        CLumo& lumo = Window().m_lumo();
        EXPECT_EQ(lumo.FirmwareUpdateMode(), 0);
        lumo.setCheckSumType(1);
        lumo.setFile(m_sImage);
        lumo.StartSendFile();
        EXPECT_TRUE(QTest::qWaitFor([&] { return lumo.LastTransferOutcome().Finished(); }, 120000));
        return lumo.LastTransferOutcome();
    }

    // The display got EOT and the closing command ESC "R" CR last.
    bool ClosingCommandArrives() {
        return QTest::qWaitFor(
            [&] { return m_pDisplay->Received().endsWith(QByteArray("\x04\x1B\x52\x0D")); }, 3000);
    }

    // The display got XModem's abort last, and neither EOT nor the closing command: it stays in
    // its loader with nothing of the image kept.
    void ExpectAbortedInTheLoader() {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return m_pDisplay->Received().endsWith(QByteArray("\x18\x18")); }, 3000));
        EXPECT_FALSE(m_pDisplay->Received().contains(QByteArray("\x1B\x52\x0D")));
        EXPECT_EQ(Display().CurrentMode(), DisplayEmulator::Mode::Loader);
        EXPECT_EQ(Display().Reboots(), 0);
        EXPECT_TRUE(Display().ReceivedImage().isEmpty());
    }

    // Plays the technician at the password and the firmware dialog: the password, then the
    // image sent once with CRC blocks; i_later runs at every later look at the dialog.
    static void SendFromTheDialog(ModalWatcher& io_watcher, QPointer<frmFirmwareUpdate>& o_dialog,
                                  bool& io_blnSent, const QString& i_sImage,
                                  const std::function<void(frmFirmwareUpdate*)>& i_later = {}) {
        io_watcher.onOtherModal = [&o_dialog, &io_blnSent, i_sImage, i_later](QWidget* modal) {
            if (auto* password = qobject_cast<frmPassword*>(modal)) {
                QTimer::singleShot(0, password, [password] {
                    FindChild<QLineEdit>(*password, "txtPassword")->setText("KQZD");
                    FindChild<QPushButton>(*password, "cmdCtrl(0)")->click();
                });
            } else if (auto* firmware = qobject_cast<frmFirmwareUpdate*>(modal)) {
                o_dialog = firmware;
                if (!io_blnSent) {
                    io_blnSent = true;
                    FindChild<QComboBox>(*firmware, "cboProtocol")->setCurrentIndex(1);
                    FindChild<QLineEdit>(*firmware, "txtFile")->setText(i_sImage);
                    QTimer::singleShot(0, firmware, [firmware] {
                        FindChild<QPushButton>(*firmware, "cmdCtrl(0)")->click();
                    });
                } else if (i_later) {
                    i_later(firmware);
                }
            }
        };
    }

    QTemporaryDir m_folder;
    QString m_sImage;
};

TEST_F(TransferFaults, CancelFromTheDisplayEndsAtItsBlockWithTheAbort) {
    PtyDisplayOptions options;
    options.emulator.transferFaults.cancelAtBlock = 2;
    StartLoader(options);
    const XModemOutcome outcome = Transfer();
    EXPECT_EQ(outcome.end, XModemOutcome::End::CancelledByDisplay);
    EXPECT_EQ(outcome.block, 2);
    EXPECT_TRUE(outcome.EndedEarly());
    EXPECT_NE(outcome.Text(), "Firmware Update OK!");
    ExpectAbortedInTheLoader();
    ExpectUsable();
}

TEST_F(TransferFaults, AHangUpDuringTheTransferAsksAndEndsWithoutSpinning) {
    PtyDisplayOptions options;
    options.hangupAfter = 12 + 2 * 133 + 10; // the loader commands, two blocks, part of the third
    StartLoader(options);
    const XModemOutcome outcome = Transfer();
    EXPECT_EQ(outcome.end, XModemOutcome::End::Abandoned);
    EXPECT_EQ(outcome.block, 3);
    ASSERT_FALSE(m_prompt.entries.empty());
    EXPECT_TRUE(m_prompt.entries.back().question); // Retry or Cancel; the recording answers Cancel
    ExpectUsable();
}

TEST_F(TransferFaults, AFileThatShrinksMidTransferIsReportedWithWhereItEnded) {
    StartLoader(PtyDisplayOptions());
    QObject::connect(m_pDisplay.get(), &PtyDisplay::BytesReceived, [this] {
        if (m_pDisplay->Received().size() > 12 + 2 * 133) {
            QFile::resize(m_sImage, 0);
        }
    });
    const XModemOutcome outcome = Transfer();
    EXPECT_EQ(outcome.end, XModemOutcome::End::Abandoned);
    EXPECT_GE(outcome.block, 3);
    ASSERT_FALSE(m_prompt.entries.empty());
    EXPECT_TRUE(m_prompt.entries.back().text.contains("ended at byte"))
        << m_prompt.entries.back().text.toStdString();
    ExpectAbortedInTheLoader();
}

// Stop part way: the display drops what it got and stays in its loader, and the same file sent
// again arrives whole.
TEST_F(TransferFaults, AStoppedTransferSentAgainLeavesTheWholeImage) {
    StartLoader(PtyDisplayOptions());
    CLumo& lumo = Window().m_lumo();
    const auto stopAfterTwoBlocks =
        QObject::connect(m_pDisplay.get(), &PtyDisplay::BytesReceived, [this, &lumo] {
            if (m_pDisplay->Received().size() > 12 + 2 * 133) {
                lumo.StopSendFile();
            }
        });
    const XModemOutcome stopped = Transfer();
    EXPECT_EQ(stopped.end, XModemOutcome::End::StoppedByUser);
    EXPECT_LT(stopped.block, 5);
    ExpectAbortedInTheLoader();
    QObject::disconnect(stopAfterTwoBlocks);

    const XModemOutcome again = Transfer();
    EXPECT_EQ(again.end, XModemOutcome::End::Complete);
    EXPECT_TRUE(ClosingCommandArrives());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Display().Reboots() == 1; }, 3000));
    EXPECT_TRUE(Display().ImageComplete());
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
}

// The image is held open for the whole run: removing it or taking away its permissions part way
// changes nothing for the run that has begun, and every byte of it still arrives.
TEST_F(TransferFaults, AFileRemovedMidTransferIsStillSentWhole) {
    StartLoader(PtyDisplayOptions());
    QObject::connect(m_pDisplay.get(), &PtyDisplay::BytesReceived, [this] {
        if (m_pDisplay->Received().size() > 12 + 2 * 133 && QFile::exists(m_sImage)) {
            ASSERT_TRUE(QFile::remove(m_sImage));
        }
    });
    const XModemOutcome outcome = Transfer();
    EXPECT_FALSE(QFile::exists(m_sImage));
    EXPECT_EQ(outcome.end, XModemOutcome::End::Complete);
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
    EXPECT_TRUE(ClosingCommandArrives());
    ExpectUsable();
}

TEST_F(TransferFaults, AFileMadeUnreadableMidTransferIsStillSentWhole) {
    StartLoader(PtyDisplayOptions());
    bool changed = false;
    QObject::connect(m_pDisplay.get(), &PtyDisplay::BytesReceived, [this, &changed] {
        if (m_pDisplay->Received().size() > 12 + 2 * 133 && !changed) {
            changed = QFile::setPermissions(m_sImage, QFileDevice::Permissions());
        }
    });
    const XModemOutcome outcome = Transfer();
    EXPECT_TRUE(changed);
    EXPECT_EQ(outcome.end, XModemOutcome::End::Complete);
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
    ExpectUsable();
}

TEST_F(TransferFaults, AHealthyTransferDeliversTheImage) {
    StartLoader(PtyDisplayOptions());
    const XModemOutcome outcome = Transfer();
    EXPECT_EQ(outcome.end, XModemOutcome::End::Complete);
    EXPECT_EQ(outcome.Text(), "Firmware Update OK!");
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
}

// The firmware dialog closed with its close box part way: the transfer goes on, the main window
// is live, and its commands must not touch the line meanwhile. "Firmware Update" brings the
// running transfer's dialog back instead of starting another. The image arrives whole and
// nothing else reaches the line.
TEST_F(TransferFaults, ATransferGoesOnAloneWhileItsDialogIsClosed) {
    PtyDisplayOptions options;
    options.pollIntervalMs = 100;
    Start(options);
    const QString image = m_folder.filePath("twenty.bin");
    QByteArray content;
    for (int i = 0; i < 20 * 128; ++i) {
        content.append(static_cast<char>(i % 251));
    }
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    ModalWatcher watcher;
    QPointer<frmFirmwareUpdate> dialog;
    bool sent = false;
    bool closed = false;
    bool broughtBack = false;
    bool stopOffered = false;
    QStringList refusals;
    SendFromTheDialog(watcher, dialog, sent, image, [&](frmFirmwareUpdate* firmware) {
        if (watcher.Texts().contains("Firmware Update OK!")) {
            QTimer::singleShot(0, firmware, [firmware] {
                FindChild<QPushButton>(*firmware, "cmdCtrl(1)")->click();
            });
        }
    });
    watcher.onLook = [&] {
        if (!closed && dialog && m_pDisplay->Received().size() > 12 + 3 * 133) {
            closed = true;
            dialog->close(); // the window's close box
            for (const char* name : {"cmdVELT(1)", "cmdVELT(7)", "cmdVELT(9)", "cmdEPSON(8)",
                                     "cmdASCII1(65)", "cmdASCII2(0)", "cmdLightTube"}) {
                Edit("txtStatus")->clear();
                Press(name);
                refusals << Status();
            }
            Edit("txtStatus")->clear();
            Combo("cboOperation")->setCurrentIndex(2);
            refusals << Status();
            Press("cmdFirmwireUpdate");
            broughtBack = dialog && dialog->isVisible();
            stopOffered = broughtBack && FindChild<QPushButton>(*dialog, "cmdStop")->isEnabled();
        }
    };

    Press("cmdFirmwireUpdate");

    EXPECT_TRUE(closed);
    EXPECT_EQ(refusals, QStringList(8, "A firmware transfer is running."));
    EXPECT_TRUE(broughtBack);
    EXPECT_TRUE(stopOffered);
    EXPECT_EQ(watcher.Texts(),
              (QStringList{"Before updating the firmware, please make sure the device baudrate is "
                           "set to 19200.",
                           "Firmware Update OK!"}));
    EXPECT_TRUE(ClosingCommandArrives());
    EXPECT_EQ(Display().ReceivedImage(), content);
    // The loader dialogue, 20 blocks of 133 bytes, EOT and ESC "R" CR: nothing else.
    const QByteArray line = m_pDisplay->Received();
    EXPECT_TRUE(line.startsWith(QByteArray("\x1BLoadXA\rPX\r\n")));
    EXPECT_EQ(line.size(), 12 + 20 * 133 + 1 + 3);
    ExpectUsable();
}

// The dialog closed for good part way: the port settings stay off while the run goes on, and
// its end reaches the status box, since no dialog is left to tell it.
TEST_F(TransferFaults, ARunWhoseDialogWasClosedEndsInTheStatusBox) {
    StartLoader(PtyDisplayOptions());
    Edit("txtStatus")->setText("OK"); // the previous command's word
    ModalWatcher watcher;
    QPointer<frmFirmwareUpdate> dialog;
    bool sent = false;
    QStringList enabledWhileRunning;
    SendFromTheDialog(watcher, dialog, sent, m_sImage);
    watcher.onLook = [&] {
        if (dialog && dialog->isVisible() && m_pDisplay->Received().size() > 12 + 2 * 133) {
            dialog->close(); // the window's close box
            for (const char* name : {"cmdChooseDevice", "cboComport", "cboBaudRate", "cboParity"}) {
                if (Find<QWidget>(name)->isEnabled()) {
                    enabledWhileRunning << name;
                }
            }
        }
    };

    Press("cmdFirmwireUpdate");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().m_lumo().TransferRunning(); }, 60000));

    EXPECT_TRUE(sent);
    EXPECT_EQ(enabledWhileRunning, QStringList());
    EXPECT_EQ(Status(), "Firmware Update OK!");
    EXPECT_EQ(watcher.Texts(), QStringList{"Before updating the firmware, please make sure the "
                                           "device baudrate is set to 19200."});
    for (const char* name : {"cmdChooseDevice", "cboComport", "cboBaudRate", "cboParity"}) {
        EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
    }
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
}

} // namespace
