#include "E2EFixture.h"

#include "device/CLumo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    QTemporaryDir m_folder;
    QString m_sImage;
};

TEST_F(TransferFaults, CancelFromTheDisplayEndsAtItsBlockWithTheEndSequence) {
    PtyDisplayOptions options;
    options.emulator.transferFaults.cancelAtBlock = 2;
    StartLoader(options);
    const XModemOutcome outcome = Transfer();
    EXPECT_EQ(outcome.end, XModemOutcome::End::CancelledByDisplay);
    EXPECT_EQ(outcome.block, 2);
    EXPECT_TRUE(outcome.EndedEarly());
    EXPECT_NE(outcome.Text(), "Firmware Update OK!");
    // The display still got EOT and the closing command.
    EXPECT_TRUE(ClosingCommandArrives());
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
    EXPECT_TRUE(ClosingCommandArrives());
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

} // namespace
