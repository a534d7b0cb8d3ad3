#include "SessionFixture.h"

#include <functional>

namespace {

QByteArray bytes(const char* i_pHex) {
    return QByteArray::fromHex(i_pHex);
}

class QueryTest : public SessionFixture {
protected:
    // The display answers the query frame with i_pFirst at once and i_pRest i_lLaterMs later.
    void Reply(const char* i_pFirst, const char* i_pRest = "", qint64 i_lLaterMs = 0) {
        const QByteArray first = bytes(i_pFirst);
        const QByteArray rest = bytes(i_pRest);
        m_pComm->onOutput = [=](FakeComm& c, const QByteArray& frame) {
            if (frame.startsWith("\x04\x01")) {
                c.Queue(first, 30);
                if (!rest.isEmpty()) {
                    c.Queue(rest, 30 + i_lLaterMs);
                }
            }
        };
    }
};

// --- GetMessage --------------------------------------------------------------------------

TEST_F(QueryTest, GetMessageReturnsTheTextBetweenSohAndTheClosingByte) {
    struct Case {
        const char* reply;
        int status;
        const char16_t* text;
    };
    const Case cases[] = {
        {"01 48 49 17", 0, u"HI"},
        {"01 48 49 00", 0, u"HI"}, // the closing byte is dropped whatever it is
        {"01 17", 0, u""},         // two bytes: an empty text
        {"01", 0, u""},            // one byte: an empty text too
        {"01 E9 80 17", 0, u"é€"}, // decoded as Windows-1252, no reverse table
        {"06", -6, u"untouched"},  // not SOH: refused, the text is left as it was
        {"15 48 49 17", -6, u"untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        QString text = "untouched";
        Reply(c.reply);
        m_pComm->journal.clear();
        EXPECT_EQ(lumo().GetMessage(text), c.status);
        EXPECT_EQ(text, QString::fromUtf16(c.text));
        EXPECT_EQ(m_pComm->journal,
                  QStringList({"open 1 19200n,8,1", "write 04 01 54 17", "close"}));
    }
}

TEST_F(QueryTest, GetMessageWaitsHalfASecondForTheRestOfTheReply) {
    QString text;
    Reply("01 48", "49 17", 400);
    EXPECT_EQ(lumo().GetMessage(text), 0);
    EXPECT_EQ(text, "HI");

    // What comes later than the settling wait is not part of the reply.
    Reply("01 48 49", "4A 17", 700);
    EXPECT_EQ(lumo().GetMessage(text), 0);
    EXPECT_EQ(text, "H");
}

TEST_F(QueryTest, GetMessageDrainsStaleBytesBeforeAsking) {
    QString text;
    m_pComm->Queue(bytes("06 06"));
    Reply("01 4F 4B 17");
    EXPECT_EQ(lumo().GetMessage(text), 0);
    EXPECT_EQ(text, "OK");
}

// --- GetVersion --------------------------------------------------------------------------

TEST_F(QueryTest, GetVersionKeepsEveryByteOfAReplyOfFourOrMore) {
    struct Case {
        const char* reply;
        int status;
        QString text;
    };
    const Case cases[] = {
        {"01 31 30 17", 0, QChar(0x01) + QStringLiteral("10") + QChar(0x17)},
        {"56 31 2E 32 33", 0, QStringLiteral("V1.23")},
        {"56 31 2E", -6, QStringLiteral("untouched")},
        {"06", -6, QStringLiteral("untouched")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        QString text = "untouched";
        Reply(c.reply);
        m_pComm->journal.clear();
        EXPECT_EQ(lumo().GetVersion(text), c.status);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(m_pComm->journal,
                  QStringList({"open 1 19200n,8,1", "write 04 01 56 17", "close"}));
    }
}

TEST_F(QueryTest, GetVersionSettlesForThreeHundredMilliseconds) {
    QString text;
    Reply("56 31", "2E 30", 250);
    EXPECT_EQ(lumo().GetVersion(text), 0);
    EXPECT_EQ(text, "V1.0");

    text = "untouched";
    Reply("56 31", "2E 30", 400); // the rest comes too late: three bytes is too short
    EXPECT_EQ(lumo().GetVersion(text), -6);
    EXPECT_EQ(text, "untouched");
}

// --- Silence ----------------------------------------------------------------------------

TEST_F(QueryTest, WithoutAReplyTheQueriesGiveUpAfterTheirPolls) {
    struct Case {
        const char* name;
        std::function<int(CLumo&, QString&)> run;
        int polls;
        qint64 spacingMs;
    };
    const Case cases[] = {
        {"GetMessage", [](CLumo& l, QString& t) { return l.GetMessage(t); }, 16, 200},
        {"GetVersion", [](CLumo& l, QString& t) { return l.GetVersion(t); }, 11, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString text = "kept";
        m_pComm->polls = 0;
        const qint64 start = m_clock.NowMs();
        EXPECT_EQ(c.run(lumo(), text), -4);
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(m_pComm->polls, c.polls);
        EXPECT_GT(m_clock.NowMs() - start, c.polls * c.spacingMs);
        EXPECT_FALSE(PortOpen());
    }
}

// --- Query failures ----------------------------------------------------------------------

TEST_F(QueryTest, QueriesReportPortFailuresAndLeaveTheTextAlone) {
    QString text = "kept";
    m_pComm->failOpen = true;
    EXPECT_EQ(lumo().GetMessage(text), -2);
    EXPECT_EQ(lumo().GetVersion(text), -2);
    EXPECT_TRUE(m_pComm->journal.isEmpty());

    m_pComm->failOpen = false;
    m_pComm->openDoesNothing = true;
    EXPECT_EQ(lumo().GetMessage(text), -3);
    EXPECT_EQ(lumo().GetVersion(text), -3);
    EXPECT_TRUE(m_pComm->writes.isEmpty());

    m_pComm->openDoesNothing = false;
    m_pComm->deadAfterOpen = true;
    EXPECT_EQ(lumo().GetMessage(text), -3);
    EXPECT_FALSE(PortOpen());
    m_pComm->deadAfterOpen = false;
    m_pComm->deadAtWrite = static_cast<int>(m_pComm->writes.size());
    EXPECT_EQ(lumo().GetVersion(text), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(text, "kept");
}

// --- Raw reads for the VT100 window ------------------------------------------------------

TEST_F(QueryTest, GetCommDataWaitsThenTakesEverythingAndLeavesThePortOpen) {
    QString text = "old";
    m_pComm->Queue(bytes("41 E9"), 150);
    const qint64 start = m_clock.NowMs();
    lumo().GetCommData(text);
    EXPECT_EQ(text, QString::fromUtf16(u"Aé"));
    EXPECT_GT(m_clock.NowMs() - start, 200);
    EXPECT_TRUE(PortOpen());
    EXPECT_TRUE(m_pComm->writes.isEmpty());

    lumo().GetCommData(text); // nothing waiting: unchanged, still open, not reopened
    EXPECT_EQ(text, QString::fromUtf16(u"Aé"));
    EXPECT_TRUE(PortOpen());
    EXPECT_EQ(m_pComm->opens, 1);
}

TEST_F(QueryTest, GetCommDataBTakesTheRawBytes) {
    QByteArray data = bytes("AA");
    m_pComm->Queue(bytes("1B 5B 30 E9"));
    lumo().GetCommDataB(data);
    EXPECT_EQ(Hex(data), "1B 5B 30 E9");
    EXPECT_TRUE(PortOpen());

    lumo().GetCommDataB(data);
    EXPECT_EQ(Hex(data), "1B 5B 30 E9");
}

TEST_F(QueryTest, RawReadsOnAPortThatWillNotOpenLeaveTheOutputAlone) {
    m_pComm->failOpen = true;
    m_pComm->Queue(bytes("41"));
    QString text = "old";
    QByteArray data = bytes("AA");
    lumo().GetCommData(text);
    lumo().GetCommDataB(data);
    EXPECT_EQ(text, "old");
    EXPECT_EQ(Hex(data), "AA");
    EXPECT_EQ(m_clock.Idles(), 0);
}

} // namespace
