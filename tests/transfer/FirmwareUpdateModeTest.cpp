// The switch into the display's loader: ESC "Load", "XA" CR, "PX"/"ZX" CR LF.
#include "TransferFixture.h"

#include "core/device/frmCLumo.h"

namespace {

class LoaderTest : public TransferFixture {
protected:
    void AnswerPrompts() {
        comm->onOutput = [](FakeComm& c, const QByteArray& b) {
            if (b != "PX\r\n" && b != "ZX\r\n") {
                c.Queue("\r\n>", 200);
            }
        };
    }
};

TEST_F(LoaderTest, EncryptedImageDialogue) {
    ASSERT_EQ(lumo.Disconnect(), 0);
    AnswerPrompts();
    EXPECT_EQ(lumo.FirmwareUpdateMode(), 0);
    ASSERT_EQ(comm->writes.size(), 3);
    EXPECT_EQ(Hex(comm->writes[0]), "1B 4C 6F 61 64");
    EXPECT_EQ(Hex(comm->writes[1]), "58 41 0D");
    EXPECT_EQ(Hex(comm->writes[2]), "50 58 0D 0A");
    EXPECT_EQ(lumo.Progress(), 100);
    EXPECT_TRUE(comm->PortOpen()); // left open for the transfer
    EXPECT_EQ(comm->journal.first(), "open 1 19200n,8,1");
}

TEST_F(LoaderTest, PlainImageOnAnAlreadyOpenPort) {
    AnswerPrompts();
    lumo.setFirmwareCodeType(1);
    EXPECT_EQ(lumo.FirmwareCodeType(), 1);
    EXPECT_EQ(lumo.FirmwareUpdateMode(), 0);
    ASSERT_EQ(comm->writes.size(), 3);
    EXPECT_EQ(Hex(comm->writes[2]), "5A 58 0D 0A");
    EXPECT_EQ(comm->opens, 1);
}

TEST_F(LoaderTest, PortThatCannotOpenWritesNothing) {
    ASSERT_EQ(lumo.Disconnect(), 0);
    comm->failOpen = true;
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -2);
    EXPECT_TRUE(comm->writes.isEmpty());
}

TEST_F(LoaderTest, NoPromptGivesUpAfter120SilentPollsAt20) {
    const qint64 before = clock.NowMs();
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -4);
    EXPECT_GE(clock.NowMs() - before, 120 * 500);
    EXPECT_LT(clock.NowMs() - before, 121 * 502);
    ASSERT_EQ(comm->writes.size(), 1);
    EXPECT_EQ(lumo.Progress(), 20);
}

TEST_F(LoaderTest, NoSecondPromptStopsAt80) {
    comm->onOutput = [](FakeComm& c, const QByteArray& b) {
        if (b == "\x1BLoad") {
            c.Queue(">", 100);
        }
    };
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -4);
    EXPECT_EQ(comm->writes.size(), 2);
    EXPECT_EQ(lumo.Progress(), 80);
}

// A display that keeps sending without ever showing ">" does not hold the wait for good: each
// answered poll raises the bar by 1, and the wait ends after 10 s in all as for silence.
TEST_F(LoaderTest, BytesWithoutPromptRaiseProgressAndEndAfterTenSeconds) {
    for (int i = 1; i <= 200; ++i) {
        comm->Queue("?", i * 500 - 100); // talks for 100 s
    }
    QList<qint16> seen;
    clock.onIdle = [&](qint64) { seen << lumo.Progress(); };
    const qint64 before = clock.NowMs();
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -4);
    EXPECT_GE(clock.NowMs() - before, 10000);
    EXPECT_LT(clock.NowMs() - before, 10000 + 2 * 502);
    EXPECT_TRUE(seen.contains(19));
    EXPECT_EQ(lumo.Progress(), 20);
    EXPECT_EQ(comm->writes.size(), 1);
}

TEST_F(LoaderTest, ProgressRisesNoFurtherThan100) {
    frmCLumo::Instance().setProgress(97);
    for (int i = 1; i <= 10; ++i) {
        comm->Queue("?", i * 500 - 100);
    }
    qint16 highest = 0;
    clock.onIdle = [&](qint64) { highest = std::max(highest, lumo.Progress()); };
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -4);
    EXPECT_EQ(highest, 100);
}

TEST_F(LoaderTest, FailedWriteIsNotConnected) {
    AnswerPrompts();
    comm->deadAtWrite = 1; // "XA" CR
    EXPECT_EQ(lumo.FirmwareUpdateMode(), -3);
    EXPECT_EQ(comm->writes.size(), 1);
}

} // namespace
