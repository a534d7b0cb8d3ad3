#include "SessionFixture.h"

#include "core/protocol/modLumo.h"

#include <set>

namespace {

QByteArray bytes(const char* i_pHex) {
    return QByteArray::fromHex(i_pHex);
}

class MessageSendTest : public SessionFixture {};

// The characters the display shows at another position than their Windows-1252 byte.
struct Translated {
    const char16_t* character;
    quint8 windows1252;
    quint8 display;
};
const Translated kTranslated[] = {
    {u"ƒ", 0x83, 0x9F}, {u"†", 0x86, 0xC5}, {u"‡", 0x87, 0xD8}, {u"ˆ", 0x88, 0x5E},
    {u"•", 0x95, 0xF9}, {u"¡", 0xA1, 0xAD}, {u"¢", 0xA2, 0x9B}, {u"£", 0xA3, 0x9C},
    {u"¤", 0xA4, 0x24}, {u"¥", 0xA5, 0x9D}, {u"ª", 0xAA, 0xA6}, {u"«", 0xAB, 0xAE},
    {u"¬", 0xAC, 0xAA}, {u"°", 0xB0, 0xF8}, {u"±", 0xB1, 0xF1}, {u"´", 0xB4, 0xEF},
    {u"µ", 0xB5, 0xE6}, {u"º", 0xBA, 0xA7}, {u"»", 0xBB, 0xAF}, {u"¼", 0xBC, 0xAC},
    {u"½", 0xBD, 0xAB}, {u"¿", 0xBF, 0xA8}, {u"Ä", 0xC4, 0x8E}, {u"Å", 0xC5, 0x8F},
    {u"Æ", 0xC6, 0x92}, {u"Ç", 0xC7, 0x80}, {u"É", 0xC9, 0x90}, {u"Ñ", 0xD1, 0xA5},
    {u"Ö", 0xD6, 0x99}, {u"Ü", 0xDC, 0x9A}, {u"ß", 0xDF, 0xE1}, {u"à", 0xE0, 0x85},
    {u"á", 0xE1, 0xA0}, {u"â", 0xE2, 0x83}, {u"ä", 0xE4, 0x84}, {u"å", 0xE5, 0x86},
    {u"æ", 0xE6, 0x91}, {u"ç", 0xE7, 0x87}, {u"è", 0xE8, 0x8A}, {u"é", 0xE9, 0x82},
    {u"ê", 0xEA, 0x88}, {u"ë", 0xEB, 0x89}, {u"ì", 0xEC, 0x8D}, {u"í", 0xED, 0xA1},
    {u"î", 0xEE, 0x8C}, {u"ï", 0xEF, 0x8B}, {u"ñ", 0xF1, 0xA4}, {u"ò", 0xF2, 0x95},
    {u"ó", 0xF3, 0xA2}, {u"ô", 0xF4, 0x93}, {u"ö", 0xF6, 0x94}, {u"÷", 0xF7, 0xF6},
    {u"ù", 0xF9, 0x97}, {u"ú", 0xFA, 0xA3}, {u"û", 0xFB, 0x96}, {u"ü", 0xFC, 0x81},
    {u"ÿ", 0xFF, 0x98},
};
static_assert(std::size(kTranslated) == 57);

// --- Text and its translation ------------------------------------------------------------

TEST_F(MessageSendTest, EachTranslatedCharacterGoesOutAsTheDisplaysByte) {
    for (const Translated& t : kTranslated) {
        const QString character = QString::fromUtf16(t.character);
        SCOPED_TRACE(character.toStdString());
        m_pComm->writes.clear();
        EXPECT_EQ(lumo().SendMessage(character), 0);
        EXPECT_EQ(m_pComm->Written(), QByteArray(1, static_cast<char>(t.display)));
    }
}

TEST_F(MessageSendTest, EveryOtherByteOfTheTableMapsToItself) {
    std::set<int> translated;
    for (const Translated& t : kTranslated) {
        translated.insert(t.windows1252);
        EXPECT_EQ(modLumo::CharacterTable[t.windows1252], t.display);
    }
    for (int b = 0; b < 256; ++b) {
        if (translated.count(b) == 0) {
            EXPECT_EQ(modLumo::CharacterTable[static_cast<size_t>(b)], b) << "byte " << b;
        }
    }
}

TEST_F(MessageSendTest, PlainAsciiTextGoesOutUnchanged) {
    QString all;
    for (int c = 0; c < 0x80; ++c) {
        all.append(QChar(c));
    }
    EXPECT_EQ(lumo().SendMessage(all), 0);
    QByteArray expected;
    for (int c = 0; c < 0x80; ++c) {
        expected.append(static_cast<char>(c));
    }
    EXPECT_EQ(m_pComm->Written(), expected);
}

TEST_F(MessageSendTest, TextIsEncodedInWindows1252WithQuestionMarksForTheRest) {
    const std::pair<QString, const char*> cases[] = {
        {QString::fromUtf16(u"€"), "80"},          // in the code page, not translated
        {QString::fromUtf16(u"Š"), "8A"},          // 0x8A, not translated
        {QString::fromUtf16(u"™"), "99"},          // 0x99, not translated
        {QString::fromUtf16(u"Ω"), "3F"},          // not in the code page
        {QString::fromUtf16(u"中"), "3F"},         // not in the code page
        {QString::fromUtf16(u"\U0001F600"), "3F"}, // one character outside the BMP: one "?"
        {QString::fromUtf16(u"Aé€Ωz"), "41 82 80 3F 7A"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.toStdString());
        m_pComm->writes.clear();
        EXPECT_EQ(lumo().SendMessage(text), 0);
        EXPECT_EQ(Hex(m_pComm->Written()), expected);
    }
}

TEST_F(MessageSendTest, AnEmptyTextOpensAndClosesAndSendsNothing) {
    EXPECT_EQ(lumo().SendMessage(QString()), 0);
    EXPECT_EQ(m_pComm->opens, 1);
    EXPECT_EQ(m_pComm->closes, 1);
    EXPECT_TRUE(m_pComm->Written().isEmpty());
}

TEST_F(MessageSendTest, SingleBytesAreNotTranslated) {
    EXPECT_EQ(lumo().SendMessageB(0xE9), 0);
    EXPECT_EQ(lumo().SendMessageStringAndByte(QString::fromUtf16(u"é"), 0xE9), 0);
    EXPECT_EQ(lumo().SendMessageB_VT100(0xE9), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"E9", "82", "E9", "E9"}));
}

TEST_F(MessageSendTest, SendMessageByteArrayDoesNotTranslate) {
    m_pComm->onOutput = [](FakeComm& c, const QByteArray&) { c.Queue(QByteArray("\x06")); };
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("E9 FC 41")), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"E9 FC 41"}));
}

// --- Paced writing -----------------------------------------------------------------------

TEST_F(MessageSendTest, BelowNineThousandSixHundredBaudEachByteIsItsOwnWrite) {
    for (const char* rate : {"4800", "2400", "1200", "600", "300"}) {
        SCOPED_TRACE(rate);
        lumo().setBaudRate(rate);
        m_pComm->writes.clear();
        EXPECT_EQ(lumo().SendMessage("abc"), 0);
        EXPECT_EQ(WriteCalls(), QStringList({"61", "62", "63"}));
    }
}

TEST_F(MessageSendTest, AtNineThousandSixHundredBaudAndAboveTheTextIsOneWrite) {
    for (const char* rate : {"9600", "19200", "38400"}) {
        SCOPED_TRACE(rate);
        lumo().setBaudRate(rate);
        m_pComm->writes.clear();
        EXPECT_EQ(lumo().SendMessage("abc"), 0);
        EXPECT_EQ(WriteCalls(), QStringList({"61 62 63"}));
    }
}

TEST_F(MessageSendTest, TheStringAndByteSenderIgnoresThePace) {
    lumo().setBaudRate("4800");
    EXPECT_EQ(lumo().SendMessageStringAndByte("ab", 0x0D), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"61 62", "0D"}));
}

TEST_F(MessageSendTest, FullyLightTubeSendsOneSolidBlockPerCell) {
    EXPECT_EQ(lumo().FullyLightTube(40), 0);
    EXPECT_EQ(WriteCalls(), QStringList(Hex(QByteArray(40, '\xB2'))));

    lumo().setBaudRate("2400");
    m_pComm->writes.clear();
    EXPECT_EQ(lumo().FullyLightTube(3), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"B2", "B2", "B2"}));

    for (const qint16 none : {qint16(0), qint16(-5)}) {
        m_pComm->journal.clear();
        EXPECT_EQ(lumo().FullyLightTube(none), 0);
        EXPECT_EQ(m_pComm->journal, QStringList({"open 1 2400n,8,1", "close"}));
    }
}

TEST_F(MessageSendTest, SendMessageByteArrayIsPacedToo) {
    lumo().setBaudRate("1200");
    m_pComm->onOutput = [](FakeComm& c, const QByteArray& b) {
        if (b == "\x17") {
            c.Queue(QByteArray("\x06"));
        }
    };
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("04 01 49 30 17")), 0);
    EXPECT_EQ(WriteCalls(), QStringList({"04", "01", "49", "30", "17"}));
}

// --- The byte-array sender's acknowledgement -----------------------------------------------

TEST_F(MessageSendTest, SendMessageByteArrayWaitsThirtyOneShortPollsForAnAck) {
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), -4);
    EXPECT_EQ(m_pComm->polls, 31);
    EXPECT_FALSE(PortOpen());

    m_pComm->onOutput = [](FakeComm& c, const QByteArray&) { c.Queue(QByteArray("\x15")); };
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), -6);
    m_pComm->onOutput = [](FakeComm& c, const QByteArray&) { c.Queue(QByteArray("\x06\x15")); };
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), 0);
}

TEST_F(MessageSendTest, SendMessageByteArrayDoesNotDrainWhatWasWaiting) {
    m_pComm->Queue(bytes("06"));
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), 0);
    EXPECT_EQ(m_pComm->polls, 1);
}

// --- Failures ----------------------------------------------------------------------------

TEST_F(MessageSendTest, APortThatCannotBeOpenedSendsNothing) {
    m_pComm->failOpen = true;
    EXPECT_EQ(lumo().SendMessage("abc"), -2);
    EXPECT_EQ(lumo().SendMessageB(0x41), -2);
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), -2);
    EXPECT_EQ(lumo().SendMessageStringAndByte("a", 0x41), -2);
    EXPECT_EQ(lumo().FullyLightTube(40), -2);
    EXPECT_EQ(lumo().SendMessageB_VT100(0x41), -2);
    EXPECT_TRUE(m_pComm->journal.isEmpty());
}

TEST_F(MessageSendTest, ALineThatDiesMidMessageGivesNotConnectedWithThePortClosed) {
    lumo().setBaudRate("4800");
    m_pComm->deadAtWrite = 1;
    EXPECT_EQ(lumo().SendMessage("abc"), -3);
    EXPECT_EQ(WriteCalls(), QStringList({"61"}));
    EXPECT_FALSE(PortOpen());

    m_pComm->deadAtWrite = static_cast<int>(m_pComm->writes.size()) + 1; // the byte after the text
    EXPECT_EQ(lumo().SendMessageStringAndByte("a", 0x0D), -3);
    EXPECT_FALSE(PortOpen());

    m_pComm->deadAtWrite = static_cast<int>(m_pComm->writes.size());
    EXPECT_EQ(lumo().SendMessageB_VT100(0x41), -3);
    EXPECT_FALSE(PortOpen());
}

TEST_F(MessageSendTest, ARefusedWriteClosesThePortEvenIfTheComponentKeptItOpen) {
    m_pComm->writeFailsStaysOpen = true;
    EXPECT_EQ(lumo().SendMessage("abc"), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(lumo().SendMessageB(0x41), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(lumo().FullyLightTube(40), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(lumo().SendMessageByteArray(bytes("41")), -3);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(lumo().SendMessageB_VT100(0x41), -3);
    EXPECT_FALSE(PortOpen());
}

} // namespace
