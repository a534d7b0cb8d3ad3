#include "SessionFixture.h"

#include "core/device/frmCLumo.h"
#include "core/protocol/modLumo.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

namespace {

class SessionTest : public SessionFixture {};

// --- Opening and closing -----------------------------------------------------------------

TEST_F(SessionTest, ConnectOpensWithPortNumberAndSettingsText) {
    lumo().setCommPort(3);
    lumo().setBaudRate("4800");
    lumo().setParity("ODD");
    EXPECT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(m_pComm->journal, QStringList({"open 3 4800o,7,1"}));
    EXPECT_EQ(m_pComm->CommPort(), 3);
    EXPECT_EQ(m_pComm->Settings(), "4800o,7,1");
    EXPECT_TRUE(PortOpen());
}

TEST_F(SessionTest, ConnectOnAnOpenPortSaysAlreadyConnectedAndKeepsItsSettings) {
    ASSERT_EQ(lumo().Connect(), 0);
    lumo().setBaudRate("4800");
    lumo().setParity("EVEN");
    lumo().setCommPort(2);
    EXPECT_EQ(lumo().Connect(), -1);
    EXPECT_EQ(m_pComm->Settings(), "19200n,8,1");
    EXPECT_EQ(m_pComm->CommPort(), 1);
    EXPECT_EQ(m_pComm->opens, 1);
    EXPECT_TRUE(PortOpen());

    // The new values count from the next opening on.
    EXPECT_EQ(lumo().Disconnect(), 0);
    EXPECT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(m_pComm->journal.last(), "open 2 4800e,7,1");
}

TEST_F(SessionTest, ConnectFailuresAreOpenFailed) {
    lumo().setCommPort(0); // no port chosen yet
    EXPECT_EQ(lumo().Connect(), -2);
    lumo().setCommPort(70000); // not a 16-bit port number
    EXPECT_EQ(lumo().Connect(), -2);
    lumo().setCommPort(1);
    lumo().setBaudRate("fast");
    EXPECT_EQ(lumo().Connect(), -2);
    lumo().setBaudRate("19200");
    m_pComm->failOpen = true;
    m_pComm->openFailure = "/dev/ttyS0: Permission denied";
    EXPECT_EQ(lumo().Connect(), -2);
    EXPECT_EQ(frmCLumo::Instance().LastOpenFailure(), "/dev/ttyS0: Permission denied");
    EXPECT_EQ(m_pComm->opens, 0);
    EXPECT_FALSE(PortOpen());

    m_pComm->failOpen = false;
    EXPECT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(frmCLumo::Instance().LastOpenFailure(), "");
}

TEST_F(SessionTest, DisconnectClosesOnceThenSaysNotConnected) {
    ASSERT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(lumo().Disconnect(), 0);
    EXPECT_EQ(lumo().Disconnect(), -3);
    EXPECT_EQ(m_pComm->closes, 1);
}

// --- Which operations leave the port open ------------------------------------------------

TEST_F(SessionTest, CommandsCloseThePortAndTheVt100HelpersLeaveItOpen) {
    m_pComm->AnswerFrames(QByteArray::fromHex("06"));
    struct Case {
        const char* name;
        std::function<void(CLumo&)> run;
        bool openAfter;
    };
    QString s;
    QByteArray b;
    const Case cases[] = {
        {"SetBaudRate", [](CLumo& l) { l.SetBaudRate("9600", "NONE"); }, false},
        {"SetInternationalCode", [](CLumo& l) { l.SetInternationalCode(1); }, false},
        {"SaveMessage", [](CLumo& l) { l.SaveMessage(1); }, false},
        {"SetPosition", [](CLumo& l) { l.SetPosition(1); }, false},
        {"ClearDisplay", [](CLumo& l) { l.ClearDisplay(1, 2); }, false},
        {"ShowSaved", [](CLumo& l) { l.DisplayShowSavedMessageAfterRebootMode(1); }, false},
        {"DisplayDemoMessage", [](CLumo& l) { l.DisplayDemoMessage(1, 1); }, false},
        {"SendMessage", [](CLumo& l) { l.SendMessage("x"); }, false},
        {"SendMessageB", [](CLumo& l) { l.SendMessageB(0x41); }, false},
        {"SendMessageByteArray", [](CLumo& l) { l.SendMessageByteArray("\x41"); }, false},
        {"SendMessageStringAndByte", [](CLumo& l) { l.SendMessageStringAndByte("x", 1); }, false},
        {"FullyLightTube", [](CLumo& l) { l.FullyLightTube(40); }, false},
        {"GetMessage", [&](CLumo& l) { l.GetMessage(s); }, false},
        {"GetVersion", [&](CLumo& l) { l.GetVersion(s); }, false},
        {"PrinterOn", [](CLumo& l) { l.PrinterOn(); }, false},
        {"PrinterOff", [](CLumo& l) { l.PrinterOff(); }, false},
        {"InBufferCount", [](CLumo& l) { l.InBufferCount(); }, true},
        {"GetCommData", [&](CLumo& l) { l.GetCommData(s); }, true},
        {"GetCommDataB", [&](CLumo& l) { l.GetCommDataB(b); }, true},
        {"SendMessageB_VT100", [](CLumo& l) { l.SendMessageB_VT100(0x41); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // From a closed port, and from one left open by the VT100 window.
        c.run(lumo());
        EXPECT_EQ(PortOpen(), c.openAfter);
        lumo().Connect();
        c.run(lumo());
        EXPECT_EQ(PortOpen(), c.openAfter);
        lumo().Disconnect();
    }
}

TEST_F(SessionTest, Vt100SenderOpensOnlyAClosedPort) {
    EXPECT_EQ(lumo().SendMessageB_VT100(0x1B), 0);
    EXPECT_EQ(lumo().SendMessageB_VT100(0x5B), 0);
    EXPECT_EQ(m_pComm->journal, QStringList({"open 1 19200n,8,1", "write 1B", "write 5B"}));
}

TEST_F(SessionTest, InBufferCountOpensIfNeededAndCountsWhatWaits) {
    m_pComm->Queue(QByteArray::fromHex("41 42 43"));
    EXPECT_EQ(lumo().InBufferCount(), 3);
    EXPECT_EQ(m_pComm->journal, QStringList({"open 1 19200n,8,1"}));
    EXPECT_EQ(lumo().InBufferCount(), 3);
    EXPECT_EQ(m_pComm->opens, 1);
    EXPECT_TRUE(PortOpen());
}

TEST_F(SessionTest, InBufferCountIsZeroWhenThePortFails) {
    m_pComm->Queue(QByteArray::fromHex("41"));
    m_pComm->failOpen = true;
    EXPECT_EQ(lumo().InBufferCount(), 0);
    m_pComm->failOpen = false;
    m_pComm->deadAfterOpen = true;
    EXPECT_EQ(lumo().InBufferCount(), 0);
    EXPECT_FALSE(PortOpen());
}

// --- Properties --------------------------------------------------------------------------

TEST_F(SessionTest, ParityTakesExactUpperCaseNamesAndReadsBackTheFraming) {
    CLumo fresh;
    EXPECT_EQ(fresh.Parity(), "");
    // Each name in other than upper case follows a different framing, so that it shows.
    const std::pair<const char*, const char*> cases[] = {
        {"EVEN", "e,7,1"},  {"none", "e,7,1"}, {"Odd", "e,7,1"},   {"ODD", "o,7,1"},
        {"even", "o,7,1"},  {"None", "o,7,1"}, {"NONE", "n,8,1"},  {"odd", "n,8,1"},
        {"Even", "n,8,1"},  {"", "n,8,1"},     {"e,7,1", "n,8,1"}, {" EVEN", "n,8,1"},
        {"EVEN ", "n,8,1"}, {"MARK", "n,8,1"},
    };
    for (const auto& [written, read] : cases) {
        SCOPED_TRACE(written);
        fresh.setParity(written);
        EXPECT_EQ(fresh.Parity(), read);
    }
}

TEST_F(SessionTest, PlainPropertiesAreStoredWithoutACheck) {
    CLumo fresh;
    EXPECT_EQ(fresh.CommPort(), 0);
    EXPECT_EQ(fresh.BaudRate(), "");
    EXPECT_EQ(fresh.Settings(), "");
    for (const qint32 port : {4, 16, 99, -5, 0}) {
        fresh.setCommPort(port);
        EXPECT_EQ(fresh.CommPort(), port);
    }
    fresh.setBaudRate("not a rate");
    EXPECT_EQ(fresh.BaudRate(), "not a rate");
    fresh.setSettings("9600,n,8,1");
    EXPECT_EQ(fresh.Settings(), "9600,n,8,1");
}

TEST_F(SessionTest, TheSettingsPropertyDoesNotReachThePort) {
    lumo().setSettings("300e,7,1");
    EXPECT_EQ(lumo().Connect(), 0);
    EXPECT_EQ(m_pComm->Settings(), "19200n,8,1");
}

// --- Error texts -------------------------------------------------------------------------

TEST_F(SessionTest, EveryStatusHasItsText) {
    const std::pair<qint32, const char*> cases[] = {
        {0, "Unknown error code."},
        {-1, "Device is already connected."},
        {-2, "Commport open failed."},
        {-3, "Device is not connected."},
        {-4, "Device does not respond."},
        {-5, "Invalid Baud Rate"},
        {-6, "Get Nack"},
        {-7, "Unknown error code."},
        {-8, "Invalid parameter."},
        {-9, "Unknown error code."},
        {1, "Unknown error code."},
        {2147483647, "Unknown error code."},
        {-2147483647 - 1, "Unknown error code."},
    };
    for (const auto& [code, text] : cases) {
        QString message = "previous";
        lumo().ErrorDescription(code, message);
        EXPECT_EQ(message, text) << code;
    }
}

TEST_F(SessionTest, ShowErrorDescriptionShowsTheTextInAnErrorBox) {
    lumo().ShowErrorDescription(-4);
    lumo().ShowErrorDescription(0);
    ASSERT_EQ(m_prompt.entries.size(), 2u);
    EXPECT_EQ(m_prompt.entries[0].icon, Prompt::Icon::Error);
    EXPECT_EQ(m_prompt.entries[0].title, "LumoQ4 Utility");
    EXPECT_EQ(m_prompt.entries[0].text, "Device does not respond.");
    EXPECT_FALSE(m_prompt.entries[0].question);
    EXPECT_EQ(m_prompt.entries[1].text, "Unknown error code.");
}

// --- The wait ----------------------------------------------------------------------------

// A clock that moves by a fixed step at each idle, however long the wait asked for.
class SteppingClock : public WaitClock {
public:
    explicit SteppingClock(qint64 i_lStep) : m_lStep(i_lStep) { modLumo::SetClock(this); }
    ~SteppingClock() override { modLumo::SetClock(nullptr); }
    qint64 NowMs() override { return m_lNow; }
    void Idle(qint64) override {
        m_lNow += m_lStep;
        ++idles;
    }
    int idles = 0;

private:
    qint64 m_lNow = 5000;
    qint64 m_lStep;
};

TEST(WaitMilliseconds, ReturnsOnlyOnceStrictlyMoreThanTheTimeHasPassed) {
    for (const qint64 step : {1, 7, 50}) {
        for (const qint64 ms : {0, 1, 49, 50, 51, 200}) {
            SteppingClock clock(step);
            const qint64 start = clock.NowMs();
            modLumo::WaitMilliseconds(ms);
            const qint64 elapsed = clock.NowMs() - start;
            EXPECT_GT(elapsed, ms) << "step " << step << " ms " << ms;
            EXPECT_LE(elapsed, ms + step) << "step " << step << " ms " << ms;
        }
    }
}

TEST(WaitMilliseconds, ZeroReturnsAfterTheFirstTick) {
    SteppingClock clock(1);
    modLumo::WaitMilliseconds(0);
    EXPECT_EQ(clock.idles, 1);
    EXPECT_EQ(clock.NowMs(), 5001);
}

// A clock whose first idles return at once without time passing.
class StickyClock : public WaitClock {
public:
    StickyClock() { modLumo::SetClock(this); }
    ~StickyClock() override { modLumo::SetClock(nullptr); }
    qint64 NowMs() override { return m_lNow; }
    void Idle(qint64 i_lMs) override {
        if (++idles > 5) {
            m_lNow += i_lMs;
        }
    }
    int idles = 0;

private:
    qint64 m_lNow = 5000;
};

TEST(WaitMilliseconds, AnIdleThatReturnsEarlyDoesNotEndTheWait) {
    StickyClock clock;
    modLumo::WaitMilliseconds(10);
    EXPECT_EQ(clock.idles, 6);
    EXPECT_GT(clock.NowMs() - 5000, 10);
}

TEST(WaitMilliseconds, PendingEventsRunWhileItWaits) {
    FakeClock clock;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    modLumo::WaitMilliseconds(5);
    EXPECT_TRUE(ran);
}

TEST(WaitMilliseconds, OnTheRealClockItLastsMoreThanTheTimeAndServesTimers) {
    bool fired = false;
    QTimer::singleShot(5, [&] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    modLumo::WaitMilliseconds(30);
    EXPECT_GT(timer.nsecsElapsed(), 29'000'000);
    EXPECT_TRUE(fired);
}

TEST(WaitMillisecondsDeathTest, AnApplicationThatIsQuittingDoesNotMakeItSpin) {
    // Once the application is asked to quit, nested event loops refuse to run; the wait must
    // still idle. Run in a child process, since the request cannot be taken back.
    EXPECT_EXIT(
        {
            QCoreApplication::exit(0);
            auto cpu = [] {
                rusage usage{};
                ::getrusage(RUSAGE_SELF, &usage);
                return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            };
            const double before = cpu();
            modLumo::WaitMilliseconds(500);
            std::_Exit(cpu() - before < 0.1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
