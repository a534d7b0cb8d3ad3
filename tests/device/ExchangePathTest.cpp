// Every device operation opens, checks, exchanges and handles a fault the same way.
#include "SessionFixture.h"

#include <functional>

namespace {

class ExchangePathTest : public SessionFixture {};

struct Operation {
    const char* name;
    std::function<int(CLumo&)> run;
};

TEST_F(ExchangePathTest, APortStillClosedAfterConnectGivesNotConnectedFromEveryOperation) {
    m_pComm->openDoesNothing = true;
    m_pComm->AnswerFrames(QByteArray::fromHex("06"));
    QString text = "kept";
    const Operation operations[] = {
        {"SetInternationalCode", [](CLumo& l) { return l.SetInternationalCode(4); }},
        {"PrinterOn", [](CLumo& l) { return l.PrinterOn(); }},
        {"SendMessage of nothing", [](CLumo& l) { return l.SendMessage(""); }},
        {"SendMessage", [](CLumo& l) { return l.SendMessage("abc"); }},
        {"SendMessageB", [](CLumo& l) { return l.SendMessageB(0x41); }},
        {"SendMessageByteArray", [](CLumo& l) { return l.SendMessageByteArray("\x41"); }},
        {"SendMessageStringAndByte", [](CLumo& l) { return l.SendMessageStringAndByte("a", 1); }},
        {"FullyLightTube of no cells", [](CLumo& l) { return l.FullyLightTube(0); }},
        {"FullyLightTube", [](CLumo& l) { return l.FullyLightTube(40); }},
        {"SendMessageB_VT100", [](CLumo& l) { return l.SendMessageB_VT100(0x41); }},
        {"GetMessage", [&](CLumo& l) { return l.GetMessage(text); }},
        {"FirmwareUpdateMode", [](CLumo& l) { return l.FirmwareUpdateMode(); }},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        EXPECT_EQ(op.run(lumo()), -3);
    }
    lumo().GetCommData(text);
    EXPECT_EQ(lumo().InBufferCount(), 0);
    EXPECT_TRUE(m_pComm->writes.isEmpty());
    EXPECT_EQ(m_pComm->polls, 0);
    EXPECT_EQ(text, "kept");
}

TEST_F(ExchangePathTest, AFaultInTheFirmwareSwitchClosesThePortThatItOtherwiseLeavesOpen) {
    // A write refused by a component that keeps the port open.
    m_pComm->writeFailsStaysOpen = true;
    EXPECT_EQ(lumo().FirmwareUpdateMode(), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(m_pComm->journal,
              QStringList({"open 1 19200n,8,1", "refused 1B 4C 6F 61 64", "close"}));

    // A read that fails while waiting for the prompt.
    m_pComm->writeFailsStaysOpen = false;
    m_pComm->countFailsStaysOpen = true;
    EXPECT_EQ(lumo().FirmwareUpdateMode(), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(WriteCalls(), QStringList({"1B 4C 6F 61 64"}));
}

TEST_F(ExchangePathTest, ACountThatFailsOnAnOpenPortIsZeroAndClosesThePort) {
    m_pComm->Queue(QByteArray::fromHex("41"));
    ASSERT_EQ(lumo().Connect(), 0);
    m_pComm->countFailsStaysOpen = true;
    EXPECT_EQ(lumo().InBufferCount(), 0);
    EXPECT_FALSE(PortOpen());

    // The next poll of the VT100 window opens the port again.
    m_pComm->countFailsStaysOpen = false;
    EXPECT_EQ(lumo().InBufferCount(), 1);
    EXPECT_EQ(m_pComm->opens, 2);
}

} // namespace
