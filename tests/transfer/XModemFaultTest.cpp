// File and port steps that fail inside the sender: Retry tries the step again, Cancel ends the
// run and says so.
#include "TransferFixture.h"

#include <QFile>

namespace {

using End = XModemOutcome::End;

class FaultTest : public TransferFixture {};

// A prompt that runs a repair (the technician plugs the cable back in) before it answers.
class RepairingPrompt : public RecordingPrompt {
public:
    std::function<void()> repair;
    bool AskRetry(const QString& i_sTitle, const QString& i_sText) override {
        if (repair) {
            repair();
        }
        return RecordingPrompt::AskRetry(i_sTitle, i_sText);
    }
};

TEST_F(FaultTest, MissingFileAsksAndCancelEndsBeforeAnyBlock) {
    comm->Queue("C");
    RunTransfer(dir.filePath("gone.bin"), 1);
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_TRUE(prompt.entries[0].question);
    EXPECT_EQ(prompt.entries[0].title, "53");
    EXPECT_TRUE(prompt.entries[0].text.startsWith("File not found"))
        << prompt.entries[0].text.toStdString();
    EXPECT_EQ(Hex(comm->Written()), "18 18"); // no block: the loader is only told to drop it
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::Abandoned);
    EXPECT_TRUE(outcome.Finished());
    EXPECT_TRUE(outcome.Text().startsWith("Firmware update ended early before the first block: "
                                          "File not found"))
        << outcome.Text().toStdString();
}

TEST_F(FaultTest, RetryAfterTheFileAppearsSendsIt) {
    RepairingPrompt asking; // installed over the fixture's prompt
    const QString path = dir.filePath("late.bin");
    asking.retryAnswers = {true};
    asking.repair = [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("abc");
    };
    comm->Queue("C");
    RunTransfer(path, 1);
    EXPECT_EQ(asking.entries.size(), 1u);
    ASSERT_EQ(receiver->blocks.size(), 1);
    EXPECT_EQ(Hex(receiver->blocks[0].right(2)), "17 16");
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(FaultTest, FailedWriteRetriedReopensThePortAndCompletes) {
    RepairingPrompt asking;
    asking.retryAnswers = {true};
    asking.repair = [&] { comm->deadAtWrite = -1; };
    comm->Queue("C");
    comm->deadAtWrite = 4; // the data of block 2
    RunTransfer(MakeFile(QByteArray(3 * 128, 'x')), 1);
    ASSERT_EQ(asking.entries.size(), 1u);
    EXPECT_EQ(asking.entries[0].title, "8021");
    EXPECT_EQ(asking.entries[0].text, "Write failed");
    EXPECT_EQ(comm->opens, 2);
    // Block 2's header went out before the fault; only its data is written again, then its
    // trailer: the header is on the line once.
    EXPECT_EQ(comm->writes.count(QByteArray("\x01\x02\xFD")), 1);
    ASSERT_EQ(receiver->blocks.size(), 3);
    EXPECT_EQ(Hex(receiver->blocks[1].left(3)), "01 02 FD");
    EXPECT_EQ(Hex(receiver->blocks[2].left(3)), "01 03 FC");
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(FaultTest, FailedWriteCancelledAbortsAndReportsTheBlock) {
    RepairingPrompt asking; // answers Cancel
    asking.repair = [&] { comm->deadAtWrite = -1; };
    comm->Queue("C");
    comm->deadAtWrite = 3; // the header of block 2
    RunTransfer(MakeFile(QByteArray(3 * 128, 'x')), 1);
    ASSERT_EQ(asking.entries.size(), 1u);
    EXPECT_EQ(receiver->blocks.size(), 1);
    EXPECT_EQ(Hex(receiver->others.join()), "18 18"); // the port reopened for the abort
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::Abandoned);
    EXPECT_EQ(outcome.block, 2);
    EXPECT_EQ(outcome.Text(), "Firmware update ended early at block 2 of 3: Write failed. The "
                              "display stays in its loader; the file can be sent again.");
}

TEST_F(FaultTest, DeadLineCancelledAsksNoMore) {
    comm->Queue("C");
    comm->deadAtWrite = 3; // stays dead: every later write fails too
    RunTransfer(MakeFile(QByteArray(3 * 128, 'x')), 1);
    ASSERT_EQ(prompt.entries.size(), 1u); // the block; the abort is tried once without asking
    EXPECT_TRUE(receiver->others.isEmpty());
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Abandoned);
    EXPECT_EQ(lumo.LastTransferOutcome().block, 2);
}

TEST_F(FaultTest, PortThatCannotOpenAsksWithItsNumber) {
    ASSERT_EQ(lumo.Disconnect(), 0);
    comm->failOpen = true;
    RunTransfer(MakeFile("abc"), 1);
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].title, "8010");
    EXPECT_TRUE(comm->writes.isEmpty());
    EXPECT_FALSE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Abandoned);
}

TEST_F(FaultTest, ClosedPortIsOpenedByTheEngine) {
    ASSERT_EQ(lumo.Disconnect(), 0);
    comm->Queue("C", 150);
    RunTransfer(MakeFile("abc"), 1);
    EXPECT_EQ(comm->opens, 2);
    EXPECT_EQ(receiver->blocks.size(), 1);
    EXPECT_TRUE(comm->PortOpen()); // the engine never closes it
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
