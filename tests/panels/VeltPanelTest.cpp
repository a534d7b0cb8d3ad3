#include "support/WindowFixture.h"

#include "core/device/CLumo.h"
#include "gui/widgets/UpDown.h"

#include <QLabel>
#include <QTest>

namespace {

class VeltPanelTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Start();
        m_prompt.entries.clear();
    }

    void Ack() { m_pComm->AnswerFrames(QByteArray("\x06")); }
    void Nak() { m_pComm->AnswerFrames(QByteArray("\x15")); }
    void Silence() { m_pComm->onOutput = nullptr; }
};

struct IndexCase {
    int index;
    const char* frame;
};

class EveryNativeCommand : public VeltPanelTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(EveryNativeCommand, ShowsTheOutcomeOfAckNakAndSilence) {
    const IndexCase c = GetParam();
    const QString button = QStringLiteral("cmdVELT(%1)").arg(c.index);
    Ack();
    EXPECT_EQ(Press(button), QLatin1String(c.frame));
    EXPECT_EQ(Status(), "OK");
    Nak();
    EXPECT_EQ(Press(button), QLatin1String(c.frame));
    EXPECT_EQ(Status(), "Get Nack");
    Silence();
    EXPECT_EQ(Press(button), QLatin1String(c.frame));
    EXPECT_EQ(Status(), "Device does not respond.");
    // Every command leaves the port closed.
    EXPECT_FALSE(m_pComm->PortOpen());
    EXPECT_TRUE(m_prompt.entries.empty());
}

// With the start-up selections: 38400/NONE, code 0, layer "1", position "1", range 1..1,
// layer 1 + mode 1, "Stay".
INSTANTIATE_TEST_SUITE_P(
    Frames, EveryNativeCommand,
    ::testing::Values(IndexCase{0, "04 01 42 36 4E 17"}, IndexCase{1, "04 01 49 30 17"},
                      IndexCase{2, "04 01 53 31 17"}, IndexCase{3, "04 01 50 31 17"},
                      IndexCase{4, "04 01 43 31 31 17"}, IndexCase{5, "04 01 44 31 31 17"},
                      IndexCase{10, "04 01 4F 30 17"}));

TEST_F(VeltPanelTest, TheBaudRateFollowsTheDisplayOnSuccessAndNackOnly) {
    Combo("cboS_BaudRate")->setCurrentIndex(2); // 9600
    Ack();
    EXPECT_EQ(Press("cmdVELT(0)"), "04 01 42 31 4E 17");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "9600");
    EXPECT_EQ(Stored("Settings", "BaudRate"), "2");
    EXPECT_EQ(Window().m_lumo().BaudRate(), "9600");

    Combo("cboS_BaudRate")->setCurrentIndex(3); // 4800
    Nak();
    Press("cmdVELT(0)");
    EXPECT_EQ(Status(), "Get Nack");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "4800");

    Combo("cboS_BaudRate")->setCurrentIndex(6); // 600
    Silence();
    Press("cmdVELT(0)");
    EXPECT_EQ(Status(), "Device does not respond.");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "4800");
    EXPECT_EQ(Stored("Settings", "BaudRate"), "3");
    // The computer's parity stays as it was.
    EXPECT_EQ(Combo("cboParity")->currentText(), "NONE");
}

TEST_F(VeltPanelTest, ATypedParityNameThatIsNotInTheTableSendsNothing) {
    Ack();
    Combo("cboS_Parity")->setEditText("even");
    EXPECT_EQ(Press("cmdVELT(0)"), "");
    EXPECT_EQ(Status(), "Invalid Baud Rate");
}

TEST_F(VeltPanelTest, NumbersAreReadFromTheStartOfTheText) {
    Ack();
    Edit("txtPosition")->setText("12abc");
    EXPECT_EQ(Press("cmdVELT(3)"), "04 01 50 3C 17");
    Edit("txtPosition")->setText("abc");
    EXPECT_EQ(Press("cmdVELT(3)"), "04 01 50 30 17");
    Edit("txtLayer")->setText("2.5");
    EXPECT_EQ(Press("cmdVELT(2)"), "04 01 53 32 17");
    Edit("txtStart")->setText("1");
    Edit("txtEnd")->setText("40");
    EXPECT_EQ(Press("cmdVELT(4)"), "04 01 43 31 58 17");
    Edit("txtStart")->setText("3.5"); // the fraction reaches the session: 0x30 + 3.5 rounds to 0x34
    EXPECT_EQ(Press("cmdVELT(4)"), "04 01 43 34 58 17");
}

TEST_F(VeltPanelTest, ValuesTheDisplayMayRefuseStillGoOut) {
    Nak();
    Edit("txtLayer")->setText("7");
    EXPECT_EQ(Press("cmdVELT(2)"), "04 01 53 37 17");
    EXPECT_EQ(Status(), "Get Nack");
    Edit("txtPosition")->setText("99");
    EXPECT_EQ(Press("cmdVELT(3)"), "04 01 50 93 17");
}

TEST_F(VeltPanelTest, NumbersOutsideSixteenBitsAreRefusedWithTheField) {
    Ack();
    Edit("txtLayer")->setText("40000");
    EXPECT_EQ(Press("cmdVELT(2)"), "");
    ASSERT_EQ(m_prompt.entries.size(), 1u);
    EXPECT_EQ(m_prompt.entries[0].icon, Prompt::Icon::Exclamation);
    EXPECT_EQ(m_prompt.entries[0].title, "LumoQ4 Utility");
    EXPECT_TRUE(m_prompt.entries[0].text.startsWith("Layer:"));
    EXPECT_TRUE(m_prompt.entries[0].text.contains("-32768 to 32767"));
    Edit("txtPosition")->setText("-99999");
    EXPECT_EQ(Press("cmdVELT(3)"), "");
    ASSERT_EQ(m_prompt.entries.size(), 2u);
    EXPECT_TRUE(m_prompt.entries[1].text.startsWith("Cursor position:"));
    EXPECT_TRUE(m_pComm->journal.isEmpty());
    // A position that fits 16 bits but not the frame byte: refused by the session.
    Edit("txtPosition")->setText("300");
    EXPECT_EQ(Press("cmdVELT(3)"), "");
    EXPECT_EQ(Status(), "Invalid parameter.");
}

TEST_F(VeltPanelTest, DemoMessageSendsTheListIndexes) {
    Ack();
    Combo("cboLayer")->setCurrentIndex(6);
    Combo("cboMode")->setCurrentIndex(2);
    EXPECT_EQ(Press("cmdVELT(5)"), "04 01 44 37 33 17");
    Combo("cboShowSavedMessageAfterRebootMode")->setCurrentIndex(1);
    EXPECT_EQ(Press("cmdVELT(10)"), "04 01 4F 31 17");
    Combo("cboInternationalCode")->setCurrentIndex(14);
    EXPECT_EQ(Press("cmdVELT(1)"), "04 01 49 3E 17");
}

TEST_F(VeltPanelTest, SendCopiesTheMessageIntoTheEpsonBoxWhateverTheStatus) {
    Edit("txtMessage")->setText("Hello");
    EXPECT_EQ(Press("cmdVELT(6)"), "48 65 6C 6C 6F");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtEPSON")->text(), "Hello");

    m_pComm->failOpen = true;
    Edit("txtMessage")->setText("Bye");
    EXPECT_EQ(Press("cmdVELT(6)"), "");
    EXPECT_EQ(Status(), "Commport open failed.");
    EXPECT_EQ(Edit("txtEPSON")->text(), "Bye");
}

TEST_F(VeltPanelTest, GetPutsTheReplyIntoBothBoxes) {
    m_pComm->AnswerFrames(QByteArray("\x01"
                                     "HI THERE"
                                     "\x17"));
    EXPECT_EQ(Press("cmdVELT(7)"), "04 01 54 17");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtMessage")->text(), "HI THERE");
    EXPECT_EQ(Edit("txtEPSON")->text(), "HI THERE");

    Silence();
    EXPECT_EQ(Press("cmdVELT(7)"), "04 01 54 17");
    EXPECT_EQ(Status(), "Device does not respond.");
    EXPECT_EQ(Edit("txtMessage")->text(), "");
    EXPECT_EQ(Edit("txtEPSON")->text(), "");
}

// The boxes' maximum length limits typing, not what the display answers.
TEST_F(VeltPanelTest, GetShowsAReplyLongerThanTheBoxesWhole) {
    const QString reply = "ABCDEFGHIJ"
                          "KLMNOPQRST"
                          "UVWXYZ0123"
                          "456789abcd"
                          "efghij"; // 46
    m_pComm->AnswerFrames("\x01" + reply.toLatin1() + "\x17");
    EXPECT_EQ(Press("cmdVELT(7)"), "04 01 54 17");
    EXPECT_EQ(Edit("txtMessage")->text(), reply);
    EXPECT_EQ(Edit("txtEPSON")->text(), reply);

    QLineEdit* box = Edit("txtMessage");
    box->clear();
    QTest::keyClicks(box, QString(45, u'x'));
    EXPECT_EQ(box->text(), QString(40, u'x'));
}

// The version reply is text as it came: "<b>" is three characters, not bold.
TEST_F(VeltPanelTest, TheVersionLabelShowsTheReplyAsPlainText) {
    m_pComm->AnswerFrames(QByteArray("<b>V1</b>"));
    Press("cmdVELT(9)");
    QLabel* label = Find<QLabel>("lblVersion");
    EXPECT_EQ(label->text(), "Firmware Version : <b>V1</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_F(VeltPanelTest, GetVersionFillsTheLabel) {
    QLabel* label = Find<QLabel>("lblVersion");
    m_pComm->AnswerFrames(QByteArray("V1.07"));
    EXPECT_EQ(Press("cmdVELT(9)"), "04 01 56 17");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(label->text(), "Firmware Version : V1.07");

    Silence();
    Press("cmdVELT(9)");
    EXPECT_EQ(label->text(), "Firmware Version : ");
    EXPECT_EQ(Status(), "Device does not respond.");
}

TEST_F(VeltPanelTest, PeripheralRowSwitchesThePrinter) {
    EXPECT_EQ(Press("cmdVELT(8)"), "1B 47");
    EXPECT_EQ(Status(), "OK");
    Combo("cboDevice")->setCurrentIndex(1);
    EXPECT_EQ(Press("cmdVELT(8)"), "1B 53");
    EXPECT_EQ(Status(), "OK");
    m_pComm->failOpen = true;
    Press("cmdVELT(8)");
    EXPECT_EQ(Status(), "Commport open failed.");
}

TEST_F(VeltPanelTest, FullyLightTheTubeSends40LitCellsAndLeavesTheStatusAlone) {
    Edit("txtStatus")->setText("previous");
    const QString sent = Press("cmdLightTube");
    EXPECT_EQ(sent, QStringList(40, QStringLiteral("B2")).join(' '));
    EXPECT_EQ(m_pComm->writes.size(), 1); // 38400 baud: one write
    EXPECT_EQ(Status(), "previous");
}

TEST_F(VeltPanelTest, SpinnersStepWithinTheirBounds) {
    Edit("txtLayer")->setText("3");
    Window().findChild<UpDown*>("UpDown1")->Step(+1);
    EXPECT_EQ(Edit("txtLayer")->text(), "3");
    Edit("txtPosition")->setText("39");
    Window().findChild<UpDown*>("UpDown2")->Step(+1);
    Window().findChild<UpDown*>("UpDown2")->Step(+1);
    EXPECT_EQ(Edit("txtPosition")->text(), "40");
    Edit("txtStart")->setText("abc");
    Window().findChild<UpDown*>("UpDown3")->Step(-1);
    EXPECT_EQ(Edit("txtStart")->text(), "1");
}

} // namespace
