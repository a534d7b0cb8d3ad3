#include "SessionFixture.h"

#include <cmath>
#include <functional>

namespace {

QByteArray bytes(const char* i_pHex) {
    return QByteArray::fromHex(i_pHex);
}

class NativeCommandTest : public SessionFixture {
protected:
    // Runs a command against a display that acknowledges every frame at once.
    int Acked(const std::function<int()>& i_command) {
        m_pComm->AnswerFrames(bytes("06"));
        return i_command();
    }
};

// --- The frames --------------------------------------------------------------------------

TEST_F(NativeCommandTest, EachConfigurationCommandSendsItsFrameBetweenOpenAndClose) {
    struct Case {
        const char* name;
        std::function<int(CLumo&)> run;
        const char* frame;
    };
    const Case cases[] = {
        {"SetBaudRate 19200 NONE", [](CLumo& l) { return l.SetBaudRate("19200", "NONE"); },
         "04 01 42 30 4E 17"},
        {"SetInternationalCode 4", [](CLumo& l) { return l.SetInternationalCode(4); },
         "04 01 49 34 17"},
        {"SetInternationalCode 14", [](CLumo& l) { return l.SetInternationalCode(14); },
         "04 01 49 3E 17"},
        {"SaveMessage 2", [](CLumo& l) { return l.SaveMessage(2); }, "04 01 53 32 17"},
        {"SetPosition 5", [](CLumo& l) { return l.SetPosition(5); }, "04 01 50 35 17"},
        {"ClearDisplay 1 40", [](CLumo& l) { return l.ClearDisplay(1, 40); }, "04 01 43 31 58 17"},
        {"ShowSavedMessageAfterReboot 1",
         [](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(1); }, "04 01 4F 31 17"},
        {"ShowSavedMessageAfterReboot 0",
         [](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(0); }, "04 01 4F 30 17"},
        {"DisplayDemoMessage 0 0", [](CLumo& l) { return l.DisplayDemoMessage(0, 0); },
         "04 01 44 31 31 17"},
        {"DisplayDemoMessage 2 6", [](CLumo& l) { return l.DisplayDemoMessage(2, 6); },
         "04 01 44 33 37 17"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pComm->journal.clear();
        EXPECT_EQ(Acked([&] { return c.run(lumo()); }), 0);
        EXPECT_EQ(m_pComm->journal,
                  QStringList({"open 1 19200n,8,1", QStringLiteral("write ") + c.frame, "close"}));
    }
}

TEST_F(NativeCommandTest, TheQueriesSendTheirFourByteFrames) {
    QString text;
    m_pComm->AnswerFrames(bytes("01 41 17"));
    EXPECT_EQ(lumo().GetMessage(text), 0);
    m_pComm->AnswerFrames(bytes("56 31 2E 30"));
    EXPECT_EQ(lumo().GetVersion(text), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"04 01 54 17", "04 01 56 17"}));
}

TEST_F(NativeCommandTest, PrinterSwitchesSendAnEscapePairAndWaitForNothing) {
    EXPECT_EQ(lumo().PrinterOn(), 0);
    EXPECT_EQ(lumo().PrinterOff(), 0);
    EXPECT_EQ(m_pComm->journal, QStringList({"open 1 19200n,8,1", "write 1B 47", "close",
                                             "open 1 19200n,8,1", "write 1B 53", "close"}));
    EXPECT_EQ(m_clock.Idles(), 0);
    EXPECT_EQ(m_pComm->polls, 0);
}

TEST_F(NativeCommandTest, PrinterOnAnAlreadyOpenPortSendsClosesAndSaysAlreadyConnected) {
    ASSERT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(lumo().PrinterOn(), -1);
    EXPECT_EQ(WriteCalls(), QStringList({"1B 47"}));
    EXPECT_FALSE(PortOpen());
    QString text;
    lumo().ErrorDescription(-1, text);
    EXPECT_EQ(text, "Device is already connected.");
}

// --- Baud-rate codes ---------------------------------------------------------------------

TEST_F(NativeCommandTest, BaudRateAndParityCodes) {
    const std::pair<const char*, const char*> rates[] = {
        {"19200", "30"}, {"9600", "31"}, {"4800", "32"}, {"2400", "33"},
        {"1200", "34"},  {"600", "35"},  {"300", "36"},  {"38400", "36"},
    };
    for (const auto& [rate, code] : rates) {
        SCOPED_TRACE(rate);
        m_pComm->writes.clear();
        EXPECT_EQ(Acked([&] { return lumo().SetBaudRate(rate, "NONE"); }), 0);
        EXPECT_EQ(WriteCalls(), QStringList(QStringLiteral("04 01 42 %1 4E 17").arg(code)));
    }
    const std::pair<const char*, const char*> parities[] = {
        {"NONE", "4E"}, {"ODD", "4F"}, {"EVEN", "45"}};
    for (const auto& [parity, code] : parities) {
        SCOPED_TRACE(parity);
        m_pComm->writes.clear();
        EXPECT_EQ(Acked([&] { return lumo().SetBaudRate("9600", parity); }), 0);
        EXPECT_EQ(WriteCalls(), QStringList(QStringLiteral("04 01 42 31 %1 17").arg(code)));
    }
}

TEST_F(NativeCommandTest, UnknownOrMiscasedBaudRateOrParitySendsNothing) {
    const std::pair<const char*, const char*> bad[] = {
        {"115200", "NONE"}, {"9600 ", "NONE"}, {" 9600", "NONE"}, {"", "NONE"},
        {"9600", "even"},   {"9600", "Odd"},   {"9600", "N"},     {"9600", ""},
    };
    m_pComm->AnswerFrames(bytes("06"));
    for (const auto& [rate, parity] : bad) {
        SCOPED_TRACE(std::string(rate) + "/" + parity);
        m_pComm->journal.clear();
        EXPECT_EQ(lumo().SetBaudRate(rate, parity), -5);
        EXPECT_EQ(m_pComm->journal, QStringList({"open 1 19200n,8,1", "close"}));
    }
    QString text;
    lumo().ErrorDescription(-5, text);
    EXPECT_EQ(text, "Invalid Baud Rate");
}

TEST_F(NativeCommandTest, SetBaudRateLeavesTheSessionsOwnSpeed) {
    EXPECT_EQ(Acked([&] { return lumo().SetBaudRate("4800", "EVEN"); }), 0);
    EXPECT_EQ(lumo().BaudRate(), "19200");
    EXPECT_EQ(lumo().Parity(), "n,8,1");
    m_pComm->journal.clear();
    lumo().SetPosition(0);
    EXPECT_EQ(m_pComm->journal.first(), "open 1 19200n,8,1");
}

// --- Parameter bytes ---------------------------------------------------------------------

TEST_F(NativeCommandTest, FractionalParametersRoundTheByteHalfToEven) {
    struct Case {
        std::function<int(CLumo&)> run;
        const char* frame;
    };
    const Case cases[] = {
        // 0x30 + 2.5 = 50.5 -> 50 (0x32); 0x30 + 3.5 = 51.5 -> 52 (0x34)
        {[](CLumo& l) { return l.ClearDisplay(2.5, 3.5); }, "04 01 43 32 34 17"},
        {[](CLumo& l) { return l.ClearDisplay(1.4, 1.6); }, "04 01 43 31 32 17"},
        // 0x31 + 0.5 = 49.5 -> 50 (0x32): the sum is rounded, not the value
        {[](CLumo& l) { return l.DisplayDemoMessage(0.5, 1.5); }, "04 01 44 32 32 17"},
        {[](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(0.5); }, "04 01 4F 30 17"},
        {[](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(1.5); }, "04 01 4F 32 17"},
    };
    m_pComm->AnswerFrames(bytes("06"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        m_pComm->writes.clear();
        EXPECT_EQ(c.run(lumo()), 0);
        EXPECT_EQ(WriteCalls(), QStringList(c.frame));
    }
}

TEST_F(NativeCommandTest, ParameterBytesAtTheEdgesOfTheByteRangeAreSent) {
    m_pComm->AnswerFrames(bytes("06"));
    EXPECT_EQ(lumo().SetInternationalCode(207), 0);
    EXPECT_EQ(lumo().SetInternationalCode(-48), 0);
    EXPECT_EQ(lumo().ClearDisplay(-48.5, 206.5), 0); // -0.5 -> 0, 254.5 -> 254
    EXPECT_EQ(lumo().DisplayDemoMessage(-49, 206), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"04 01 49 FF 17", "04 01 49 00 17", "04 01 43 00 FE 17",
                                         "04 01 44 00 FF 17"}));
}

TEST_F(NativeCommandTest, AParameterOutsideTheByteRangeSendsNothingAndClosesThePort) {
    const std::function<int(CLumo&)> cases[] = {
        [](CLumo& l) { return l.SetInternationalCode(208); },
        [](CLumo& l) { return l.SetInternationalCode(-49); },
        [](CLumo& l) { return l.SaveMessage(32767); },
        [](CLumo& l) { return l.SetPosition(-32768); },
        [](CLumo& l) { return l.ClearDisplay(1, 207.5); }, // 255.5 -> 256
        [](CLumo& l) { return l.ClearDisplay(-48.6, 1); },
        [](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(1e9); },
        [](CLumo& l) { return l.DisplayDemoMessage(0, 207); }, // 0x31 + 207 = 256
        [](CLumo& l) { return l.DisplayDemoMessage(std::nan(""), 0); },
        [](CLumo& l) { return l.DisplayDemoMessage(0, -INFINITY); },
    };
    m_pComm->AnswerFrames(bytes("06"));
    int i = 0;
    for (const auto& run : cases) {
        SCOPED_TRACE(i++);
        m_pComm->journal.clear();
        EXPECT_EQ(run(lumo()), -8);
        EXPECT_EQ(m_pComm->journal, QStringList({"open 1 19200n,8,1", "close"}));
    }
    QString text;
    lumo().ErrorDescription(-8, text);
    EXPECT_EQ(text, "Invalid parameter.");
}

TEST_F(NativeCommandTest, AnInvalidParameterOnAnAlreadyOpenPortStillClosesIt) {
    ASSERT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(lumo().SetInternationalCode(300), -8);
    EXPECT_FALSE(PortOpen());
    EXPECT_TRUE(m_pComm->writes.isEmpty());
}

// --- The acknowledgement -----------------------------------------------------------------

TEST_F(NativeCommandTest, OnlyTheFirstByteOfTheAnswerCounts) {
    const std::pair<const char*, int> answers[] = {
        {"06", 0},     {"06 15", 0}, {"06 41 42 43", 0}, {"15", -6},
        {"15 06", -6}, {"00", -6},   {"41", -6},         {"FF 06", -6},
    };
    for (const auto& [answer, status] : answers) {
        SCOPED_TRACE(answer);
        m_pComm->journal.clear();
        m_pComm->AnswerFrames(bytes(answer), 120);
        EXPECT_EQ(lumo().SetInternationalCode(4), status);
        EXPECT_EQ(m_pComm->journal,
                  QStringList({"open 1 19200n,8,1", "write 04 01 49 34 17", "close"}));
    }
    QString text;
    lumo().ErrorDescription(-6, text);
    EXPECT_EQ(text, "Get Nack");
}

TEST_F(NativeCommandTest, AStaleByteIsDrainedBeforeTheFrameAndNeverTakenAsTheAnswer) {
    // A late ACK of an earlier command is waiting; this display refuses the new one.
    m_pComm->Queue(bytes("06"));
    m_pComm->AnswerFrames(bytes("15"), 60);
    EXPECT_EQ(lumo().SetInternationalCode(4), -6);

    // Stale ACK, no answer at all: no response, not success.
    m_pComm->onOutput = nullptr;
    m_pComm->Queue(bytes("06 06"));
    EXPECT_EQ(lumo().SetInternationalCode(4), -4);
}

TEST_F(NativeCommandTest, TheDisplayHasSixteenPollsMoreThanFiftyMillisecondsApart) {
    const qint64 start = m_clock.NowMs();
    EXPECT_EQ(lumo().SetInternationalCode(4), -4);
    EXPECT_EQ(m_pComm->polls, 16);
    EXPECT_GT(m_clock.NowMs() - start, 16 * 50);
    EXPECT_EQ(WriteCalls(), QStringList({"04 01 49 34 17"}));
    EXPECT_FALSE(PortOpen());
    QString text;
    lumo().ErrorDescription(-4, text);
    EXPECT_EQ(text, "Device does not respond.");
}

TEST_F(NativeCommandTest, AnAnswerSeenAtTheSixteenthPollCountsOneAfterItDoesNot) {
    // Find the time of the last poll, then place the answer just on it and just after it.
    qint64 lastPoll = 0;
    int polls = 0;
    m_pComm->onOutput = [&](FakeComm&, const QByteArray&) { polls = m_pComm->polls; };
    const qint64 sent = m_clock.NowMs();
    m_clock.onIdle = [&](qint64 now) {
        if (m_pComm->polls - polls < 16) {
            lastPoll = now - sent;
        }
    };
    ASSERT_EQ(lumo().SetInternationalCode(4), -4);
    m_clock.onIdle = nullptr;
    ASSERT_GT(lastPoll, 0);

    m_pComm->AnswerFrames(bytes("06"), lastPoll);
    m_pComm->polls = 0;
    EXPECT_EQ(lumo().SetInternationalCode(4), 0);
    EXPECT_EQ(m_pComm->polls, 16);

    m_pComm->AnswerFrames(bytes("06"), lastPoll + 1);
    m_pComm->polls = 0;
    EXPECT_EQ(lumo().SetInternationalCode(4), -4);
    EXPECT_EQ(m_pComm->polls, 16);
}

TEST_F(NativeCommandTest, TheAnswerIsTakenAtTheFirstPollThatSeesIt) {
    m_pComm->AnswerFrames(bytes("06"), 0);
    const qint64 start = m_clock.NowMs();
    EXPECT_EQ(lumo().SetInternationalCode(4), 0);
    EXPECT_EQ(m_pComm->polls, 1);
    EXPECT_EQ(m_clock.NowMs(), start);
}

// --- Failures ----------------------------------------------------------------------------

TEST_F(NativeCommandTest, APortThatCannotBeOpenedSendsNothing) {
    m_pComm->failOpen = true;
    EXPECT_EQ(lumo().SetInternationalCode(4), -2);
    EXPECT_EQ(lumo().SetBaudRate("9600", "NONE"), -2);
    EXPECT_EQ(lumo().DisplayDemoMessage(0, 0), -2);
    EXPECT_EQ(lumo().PrinterOn(), -2);
    EXPECT_TRUE(m_pComm->journal.isEmpty());
    QString text;
    lumo().ErrorDescription(-2, text);
    EXPECT_EQ(text, "Commport open failed.");
}

TEST_F(NativeCommandTest, APortStillClosedAfterConnectSendsNothing) {
    m_pComm->openDoesNothing = true;
    m_pComm->AnswerFrames(bytes("06"));
    EXPECT_EQ(lumo().SetInternationalCode(4), -3);
    EXPECT_EQ(lumo().SetBaudRate("9600", "NONE"), -3);
    EXPECT_EQ(lumo().ClearDisplay(1, 40), -3);
    EXPECT_EQ(lumo().PrinterOff(), -3);
    EXPECT_TRUE(m_pComm->writes.isEmpty());
    QString text;
    lumo().ErrorDescription(-3, text);
    EXPECT_EQ(text, "Device is not connected.");
}

TEST_F(NativeCommandTest, ALineThatDiesMidCommandGivesNotConnectedWithThePortClosed) {
    m_pComm->AnswerFrames(bytes("06"));
    m_pComm->deadAtWrite = 0;
    EXPECT_EQ(lumo().SetInternationalCode(4), -3);
    EXPECT_FALSE(PortOpen());

    m_pComm->deadAtWrite = -1;
    m_pComm->deadAfterOpen = true;
    EXPECT_EQ(lumo().SaveMessage(1), -3);
    EXPECT_FALSE(PortOpen());

    m_pComm->deadAfterOpen = false;
    m_pComm->deadAtWrite = static_cast<int>(m_pComm->writes.size());
    EXPECT_EQ(lumo().PrinterOn(), -3);
    EXPECT_FALSE(PortOpen());
}

TEST_F(NativeCommandTest, AWriteRefusedByAComponentThatStaysOpenStillClosesThePort) {
    m_pComm->writeFailsStaysOpen = true;
    EXPECT_EQ(lumo().SetInternationalCode(4), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(lumo().PrinterOn(), -3);
    EXPECT_FALSE(PortOpen());
}

} // namespace
