// The XModem sender over a scripted receiver, with the replaced clock.
#include "TransferFixture.h"

#include "core/device/frmCLumo.h"

#include <QFile>
#include <QTimer>

namespace {

using End = XModemOutcome::End;

QByteArray Pattern(int i_iSize) {
    QByteArray bytes;
    for (int i = 0; i < i_iSize; ++i) {
        bytes.append(static_cast<char>((i * 7 + i / 251) % 256));
    }
    return bytes;
}

class EngineTest : public TransferFixture {};

// --- Blocks on the line ---------------------------------------------------------------------

TEST_F(EngineTest, EmptyFileSendsNoBlockOnlyTheEndSequence) {
    comm->Queue("C");
    qint16 progressAtEot = -1;
    receiver->onWrite = [&](const QByteArray& b) {
        if (b == "\x04") {
            progressAtEot = lumo.Progress();
        }
    };
    RunTransfer(MakeFile(QByteArray()), 1);

    QStringList written;
    for (const QByteArray& w : comm->writes) {
        written << Hex(w);
    }
    EXPECT_EQ(written, (QStringList{"04", "1B", "52 0D"}));
    EXPECT_EQ(progressAtEot, 100);
    EXPECT_EQ(lumo.Progress(), 0);
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(EngineTest, ThreeBytesMakeOnePaddedBlockWithEitherTrailer) {
    const QString file = MakeFile("abc");
    comm->Queue(QByteArray("\x15"));
    RunTransfer(file, 0);
    ASSERT_GE(comm->writes.size(), 3);
    EXPECT_EQ(Hex(comm->writes[0]), "01 01 FE");
    EXPECT_EQ(Hex(comm->writes[1]), HexWithFill("abc", 125, '\x1A'));
    EXPECT_EQ(Hex(comm->writes[2]), "D8");
    EXPECT_EQ(receiver->blocks.size(), 1);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);

    comm->writes.clear();
    receiver->blocks.clear();
    comm->Queue("C");
    RunTransfer(file, 1);
    ASSERT_GE(comm->writes.size(), 3);
    EXPECT_EQ(Hex(comm->writes[0]), "01 01 FE");
    EXPECT_EQ(Hex(comm->writes[1]), HexWithFill("abc", 125, '\x1A'));
    EXPECT_EQ(Hex(comm->writes[2]), "17 16");
    EXPECT_EQ(Hex(comm->writes.mid(3).join()), "04 1B 52 0D");
}

TEST_F(EngineTest, FullRecordsNeedNoPaddedBlock) {
    const QByteArray content = Pattern(128);
    comm->Queue("C");
    RunTransfer(MakeFile(content), 1);
    ASSERT_EQ(receiver->blocks.size(), 1);
    EXPECT_EQ(receiver->blocks[0].mid(3, 128), content);
    EXPECT_EQ(Hex(receiver->blocks[0].left(3)), "01 01 FE");
    EXPECT_EQ(lumo.LastTransferOutcome().blocks, 1);

    receiver->blocks.clear();
    const QByteArray longer = Pattern(129);
    comm->Queue("C");
    RunTransfer(MakeFile(longer, "b.bin"), 1);
    ASSERT_EQ(receiver->blocks.size(), 2);
    EXPECT_EQ(Hex(receiver->blocks[1].left(3)), "01 02 FD");
    EXPECT_EQ(Hex(receiver->blocks[1].mid(3, 128)), HexWithFill(longer.right(1), 127, '\x1A'));
}

TEST_F(EngineTest, BlockNumbersWrapAfter255) {
    const QByteArray content = Pattern(257 * 128 + 5);
    comm->Queue(QByteArray("\x15"));
    RunTransfer(MakeFile(content), 0);
    ASSERT_EQ(receiver->blocks.size(), 258);
    EXPECT_EQ(Hex(receiver->blocks[254].left(3)), "01 FF 00");
    EXPECT_EQ(Hex(receiver->blocks[255].left(3)), "01 00 FF");
    EXPECT_EQ(Hex(receiver->blocks[256].left(3)), "01 01 FE");
    EXPECT_EQ(Hex(receiver->blocks[257].left(3)), "01 02 FD");
    QByteArray received;
    for (const QByteArray& b : receiver->blocks) {
        received += b.mid(3, 128);
    }
    EXPECT_EQ(received, content + QByteArray(123, '\x1A'));
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(EngineTest, ProgressFollowsEightBlocksAndDropsAfterEot) {
    QList<qint16> seen;
    receiver->onWrite = [&](const QByteArray& b) {
        if ((b.size() == 3 && b.at(0) == '\x01') || b == "\x04" || b == "\x1B") {
            seen << lumo.Progress();
        }
    };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(8 * 128)), 1);
    // before each of blocks 1..8, at EOT, at ESC
    EXPECT_EQ(seen, (QList<qint16>{0, 12, 25, 38, 50, 62, 75, 88, 100, 0}));
}

// --- Answers --------------------------------------------------------------------------------

TEST_F(EngineTest, AnswerStartingWithCIsIgnoredEvenWithAnAckBehindIt) {
    receiver->answer = [](int write) { return write == 0 ? QByteArray("C\x06") : "\x06"; };
    comm->Queue("C");
    RunTransfer(MakeFile("abc"), 1);
    ASSERT_EQ(receiver->blocks.size(), 2); // written again only by the silence rule
    const qint64 gap = receiver->blockTimes[1] - receiver->blockTimes[0];
    EXPECT_GE(gap, 100 * 120);
    EXPECT_LT(gap, 101 * 123);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(EngineTest, StrayByteBeforeAckAccepts) {
    receiver->answer = [](int) { return QByteArray("\x41\x06"); };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(300)), 1);
    EXPECT_EQ(receiver->blocks.size(), 3);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(EngineTest, NakCanIsANakAndTheBlockGoesAgainAtOnce) {
    receiver->answer = [](int write) { return write == 0 ? QByteArray("\x15\x18") : "\x06"; };
    comm->Queue("C");
    RunTransfer(MakeFile("abc"), 1);
    ASSERT_EQ(receiver->blocks.size(), 2);
    EXPECT_EQ(receiver->blocks[0], receiver->blocks[1]);
    EXPECT_LT(receiver->blockTimes[1] - receiver->blockTimes[0], 2 * 123);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

TEST_F(EngineTest, CanFirstEndsTheTransferWithTheAbort) {
    receiver->answer = [](int write) { return write == 1 ? QByteArray("\x18\x06") : "\x06"; };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(3 * 128)), 1);
    EXPECT_EQ(receiver->blocks.size(), 2);
    // Two CAN instead of EOT, and no closing command: the loader keeps waiting for the file.
    EXPECT_EQ(Hex(receiver->others.join()), "18 18");
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::CancelledByDisplay);
    EXPECT_EQ(outcome.block, 2);
    EXPECT_EQ(outcome.blocks, 3);
    EXPECT_EQ(outcome.Text(),
              "Firmware update ended early: the display cancelled the transfer at block 2 of 3. "
              "The display stays in its loader; the file can be sent again.");
}

TEST_F(EngineTest, SilenceRepeatsEveryHundredRoundsAndGivesUpAfter1501) {
    receiver->answer = [](int) { return QByteArray(); };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(2 * 128)), 1);
    ASSERT_EQ(receiver->blocks.size(), 16); // first write + 15 repeats
    for (int i = 1; i < 16; ++i) {
        const qint64 gap = receiver->blockTimes[i] - receiver->blockTimes[i - 1];
        EXPECT_GE(gap, 100 * 120) << i;
        EXPECT_LT(gap, 101 * 123) << i;
        EXPECT_EQ(Hex(receiver->blocks[i].left(3)), "01 01 FE");
    }
    ASSERT_EQ(receiver->otherTimes.size(), 1);
    EXPECT_GE(receiver->otherTimes[0] - receiver->blockTimes[0], 1501 * 120);
    EXPECT_EQ(Hex(receiver->others.join()), "18 18");
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::NoAnswer);
    EXPECT_EQ(outcome.block, 1);
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
}

// --- Start wait -----------------------------------------------------------------------------

TEST_F(EngineTest, StartWaitGivesUpAfter201PollsWithOnlyTheAbort) {
    comm->Queue(QByteArray("\x15"), 50); // a checksum request while waiting for "C"
    const qint64 before = clock.NowMs();
    RunTransfer(dir.filePath("missing.bin"), 1);
    ASSERT_EQ(comm->writes.size(), 1);
    EXPECT_EQ(Hex(comm->writes[0]), "18 18");
    EXPECT_GE(receiver->otherTimes[0] - before, 201 * 100);
    EXPECT_LT(receiver->otherTimes[0] - before, 202 * 102 + 102);
    EXPECT_FALSE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.Progress(), 0);
    EXPECT_TRUE(prompt.entries.empty()); // the file was never opened
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::NoStartRequest);
    EXPECT_EQ(lumo.LastTransferOutcome().Text(),
              "Firmware update failed: the display asked for the file with the other check. No "
              "block was sent. The display asks for XModem checksum; choose \"XModem - "
              "Checksum\". The display stays in its loader; the file can be sent again.");
}

TEST_F(EngineTest, OtherCheckTypesSendChecksumBlocksWithoutWaiting) {
    const qint64 before = clock.NowMs();
    RunTransfer(MakeFile("abc"), 2);
    ASSERT_GE(comm->writes.size(), 3);
    EXPECT_EQ(Hex(comm->writes[0]), "01 01 FE");
    EXPECT_EQ(Hex(comm->writes[2]), "D8");
    EXPECT_EQ(receiver->blockTimes[0], before);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
}

// --- Stopping -------------------------------------------------------------------------------

TEST_F(EngineTest, StopBeforeTheFirstTickSendsNothing) {
    comm->Queue("C");
    lumo.setCheckSumType(1);
    lumo.setFile(MakeFile("abc"));
    lumo.StartSendFile();
    lumo.StopSendFile();
    PumpEvents(400);
    EXPECT_FALSE(frmCLumo::Instance().Timer1.isActive());
    EXPECT_TRUE(comm->writes.isEmpty());
    EXPECT_FALSE(lumo.UpdateFirmwareFinish());
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::NotStarted);
}

TEST_F(EngineTest, StartTimerRunsTheTransferAbout200msLater) {
    comm->Queue("C");
    lumo.setCheckSumType(1);
    lumo.setFile(MakeFile("abc"));
    lumo.StartSendFile();
    // Armed, not run: one shot of 200 ms on the host's timer.
    const QTimer& start = frmCLumo::Instance().Timer1;
    EXPECT_TRUE(start.isActive());
    EXPECT_TRUE(start.isSingleShot());
    EXPECT_EQ(start.interval(), 200);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::NotStarted);
    PumpEvents(600);
    EXPECT_EQ(receiver->blocks.size(), 1);
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
}

TEST_F(EngineTest, StopDuringTheBlocksEndsWithinOneRound) {
    receiver->answer = [&](int write) {
        if (write == 1) {
            lumo.StopSendFile();
            return QByteArray();
        }
        return QByteArray("\x06");
    };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(4 * 128)), 1);
    EXPECT_EQ(receiver->blocks.size(), 2);
    ASSERT_EQ(receiver->otherTimes.size(), 1);
    EXPECT_EQ(Hex(receiver->others.join()), "18 18");
    // one round (20 + 100 ms) then the 100 ms before the abort
    EXPECT_LT(receiver->otherTimes[0] - receiver->blockTimes[1], 123 + 102);
    EXPECT_TRUE(lumo.UpdateFirmwareFinish());
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::StoppedByUser);
    EXPECT_EQ(outcome.block, 2);
    EXPECT_EQ(outcome.Text(),
              "Firmware update ended early: the transfer was stopped at block 2 of 4. The display "
              "stays in its loader; the file can be sent again.");
}

// A display that accepts every block at once: the answer round returns on the ACK, so the stop
// flag is looked at before each block as well.
TEST_F(EngineTest, StopIsSeenWhileTheDisplayAcceptsEveryBlock) {
    receiver->answer = [&](int write) {
        if (write == 4) {
            lumo.StopSendFile(); // pressed while block 5 is on its way
        }
        return QByteArray("\x06");
    };
    comm->Queue("C");
    RunTransfer(MakeFile(Pattern(40 * 128)), 1);
    EXPECT_EQ(receiver->blocks.size(), 5);
    EXPECT_EQ(Hex(receiver->others.join()), "18 18");
    const XModemOutcome outcome = lumo.LastTransferOutcome();
    EXPECT_EQ(outcome.end, End::StoppedByUser);
    EXPECT_EQ(outcome.block, 6);
    EXPECT_EQ(outcome.blocks, 40);
}

// A loader that asks for CRC blocks while checksum blocks are chosen: Stop says which entry of
// the list to choose instead of claiming that the display never asked.
TEST_F(EngineTest, StopWhileTheDisplayAsksForCrcNamesTheEntryToChoose) {
    for (int i = 0; i < 30; ++i) {
        comm->Queue("C", 50 + 100 * i);
    }
    clock.onIdle = [&](qint64) {
        if (clock.Idles() == 35) {
            lumo.StopSendFile();
        }
    };
    RunTransfer(MakeFile("abc"), 0);
    EXPECT_EQ(Hex(comm->Written()), "18 18");
    EXPECT_EQ(lumo.LastTransferOutcome().Text(),
              "Firmware update ended early: the transfer was stopped before the first block. The "
              "display asks for XModem CRC; choose \"XModem - CRC\". The display stays in its "
              "loader; the file can be sent again.");
}

// Stop while the engine still waits for the display to ask for the file.
TEST_F(EngineTest, StopBeforeTheFirstBlockIsReportedAsSuch) {
    clock.onIdle = [&](qint64) {
        if (clock.Idles() == 3) {
            lumo.StopSendFile();
        }
    };
    RunTransfer(MakeFile("abc"), 1);
    EXPECT_TRUE(receiver->blocks.isEmpty());
    EXPECT_EQ(Hex(comm->Written()), "18 18");
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::StoppedByUser);
    EXPECT_EQ(lumo.LastTransferOutcome().Text(),
              "Firmware update ended early: the transfer was stopped before the first block. The "
              "display stays in its loader; the file can be sent again.");
}

TEST_F(EngineTest, ANewRunAfterTheEndStartsAfresh) {
    receiver->answer = [](int write) { return write == 0 ? QByteArray("\x18") : "\x06"; };
    comm->Queue("C");
    const QString file = MakeFile("abc");
    RunTransfer(file, 1);
    ASSERT_EQ(lumo.LastTransferOutcome().end, End::CancelledByDisplay);
    comm->Queue("C");
    RunTransfer(file, 1);
    EXPECT_EQ(receiver->blocks.size(), 2);
    EXPECT_EQ(lumo.LastTransferOutcome().end, End::Complete);
    EXPECT_EQ(lumo.LastTransferOutcome().Text(), "Firmware Update OK!");
}

} // namespace
