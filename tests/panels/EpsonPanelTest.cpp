#include "support/WindowFixture.h"

#include "gui/panels/EpsonPanel.h"

#include <QTest>

namespace {

class EpsonPanelTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Start();
        m_prompt.entries.clear();
    }
};

TEST_F(EpsonPanelTest, EveryFixedButtonSendsItsSequence) {
    const std::pair<int, const char*> table[] = {
        {0, "1F 0A"}, {1, "0A"},    {2, "08"}, {3, "09"}, {4, "0B"},     {5, "1F 42"},
        {6, "0D"},    {7, "1F 0D"}, {8, "0C"}, {9, "18"}, {13, "1B 40"}, {14, "1F 40"},
    };
    for (const auto& [index, bytes] : table) {
        EXPECT_EQ(Press(QStringLiteral("cmdEPSON(%1)").arg(index)), QLatin1String(bytes)) << index;
    }
    // Nothing framed, nothing awaited, the status box untouched, the port closed.
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(m_pComm->PortOpen());
}

TEST_F(EpsonPanelTest, TheCursorButtonsShowPicturesAndTooltips) {
    const char* tips[] = {"up", "down", "left", "right", "home position"};
    for (int i = 0; i <= 4; ++i) {
        QPushButton* b = Button(QStringLiteral("cmdEPSON(%1)").arg(i));
        EXPECT_EQ(b->text(), "");
        EXPECT_FALSE(b->icon().isNull()) << i;
        EXPECT_EQ(b->toolTip(), QLatin1String(tips[i]));
    }
    EXPECT_EQ(Button("cmdEPSON(5)")->text(), "US B");
    EXPECT_EQ(Button("cmdEPSON(5)")->toolTip(), "bottom position");
}

TEST_F(EpsonPanelTest, TogglesFlipCaptionAndTagOverTwoPresses) {
    struct Toggle {
        int index;
        const char* caption1;
        const char* first;
        const char* caption2;
        const char* second;
    };
    const Toggle toggles[] = {
        {10, "cursor on", "1F 43 31", "cursor off", "1F 43 30"},
        {11, "reverse", "1F 72 31", "normal", "1F 72 30"},
        {12, "aux-device on", "1B 47", "aux-device off", "1B 53"},
    };
    for (const Toggle& t : toggles) {
        const QString name = QStringLiteral("cmdEPSON(%1)").arg(t.index);
        QPushButton* b = Button(name);
        EXPECT_EQ(b->text(), QLatin1String(t.caption1));
        EXPECT_EQ(EpsonPanel::Tag(b), "0");
        EXPECT_EQ(Press(name), QLatin1String(t.first));
        EXPECT_EQ(b->text(), QLatin1String(t.caption2));
        EXPECT_EQ(EpsonPanel::Tag(b), "1");
        EXPECT_EQ(Press(name), QLatin1String(t.second));
        EXPECT_EQ(b->text(), QLatin1String(t.caption1));
        EXPECT_EQ(EpsonPanel::Tag(b), "0");
    }
}

TEST_F(EpsonPanelTest, AToggleFlipsEvenWhenThePortFails) {
    m_pComm->failOpen = true;
    EXPECT_EQ(Press("cmdEPSON(10)"), "");
    EXPECT_EQ(Button("cmdEPSON(10)")->text(), "cursor off");
    EXPECT_TRUE(m_prompt.entries.empty());
}

TEST_F(EpsonPanelTest, PositionSendsColumnThenLine) {
    EXPECT_EQ(Press("cmdEPSON(15)"), "1F 24 01 01");
    Combo("cboRow")->setCurrentIndex(1);
    Combo("cboColumn")->setCurrentIndex(19);
    EXPECT_EQ(Press("cmdEPSON(15)"), "1F 24 14 02");
}

TEST_F(EpsonPanelTest, NationalSetSendsTheIndex) {
    Combo("cboNational")->setCurrentIndex(11);
    EXPECT_EQ(Press("cmdEPSON(16)"), "1B 52 0B");
}

TEST_F(EpsonPanelTest, ExpandReadsItsTextAndSelectsTheEntry) {
    QComboBox* expand = Combo("cboExpand");
    expand->setCurrentIndex(7);
    EXPECT_EQ(Press("cmdEPSON(17)"), "1B 74 07");
    expand->setEditText("300");
    EXPECT_EQ(Press("cmdEPSON(17)"), "1B 74 00");
    EXPECT_EQ(expand->currentIndex(), 0);
    expand->setEditText("abc");
    EXPECT_EQ(Press("cmdEPSON(17)"), "1B 74 00");
    expand->setEditText("200");
    EXPECT_EQ(Press("cmdEPSON(17)"), "1B 74 C8"); // the byte is not translated
    EXPECT_EQ(expand->currentText(), "200");
    EXPECT_EQ(m_pComm->writes.last(), QByteArray("\xC8"));
}

// A number above 255 is judged before rounding; the blink field is read as it shows.
TEST_F(EpsonPanelTest, ExpandAndBlinkReadTheirFieldsAsTyped) {
    QComboBox* expand = Combo("cboExpand");
    expand->setEditText("255.4");
    EXPECT_EQ(Press("cmdEPSON(17)"), "1B 74 00");
    EXPECT_EQ(expand->currentIndex(), 0);

    QLineEdit* blink = Edit("txtBlink");
    blink->setText("2");
    blink->setCursorPosition(2); // past the blank in the middle
    QTest::keyClicks(blink, "5");
    ASSERT_EQ(blink->displayText(), "2_5");
    EXPECT_EQ(Press("cmdEPSON(18)"), "1F 45 02");
}

TEST_F(EpsonPanelTest, BlinkSendsItsNumberAsOneUntranslatedByte) {
    QLineEdit* blink = Edit("txtBlink");
    blink->setText("200");
    EXPECT_EQ(Press("cmdEPSON(18)"), "1F 45 C8");
    ASSERT_GE(m_pComm->writes.size(), 2);
    EXPECT_EQ(Hex(m_pComm->writes[m_pComm->writes.size() - 2]), "1F 45");
    EXPECT_EQ(Hex(m_pComm->writes.last()), "C8");
    blink->clear();
    EXPECT_EQ(Press("cmdEPSON(18)"), "1F 45 00");
    blink->setText("abc"); // the field takes digits only
    EXPECT_EQ(blink->text(), "");
}

TEST_F(EpsonPanelTest, ValuesThatDoNotFitTheirByteAreRefused) {
    Edit("txtBlink")->setText("256");
    EXPECT_EQ(Press("cmdEPSON(18)"), "");
    Combo("cboExpand")->setEditText("-3");
    EXPECT_EQ(Press("cmdEPSON(17)"), "");
    Combo("cboNational")->setCurrentIndex(-1);
    EXPECT_EQ(Press("cmdEPSON(16)"), "");
    ASSERT_EQ(m_prompt.entries.size(), 3u);
    EXPECT_TRUE(m_prompt.entries[0].text.startsWith("Blink:"));
    EXPECT_TRUE(m_prompt.entries[0].text.contains("0 to 255"));
    EXPECT_TRUE(m_prompt.entries[1].text.startsWith("Expand:"));
    EXPECT_TRUE(m_prompt.entries[2].text.startsWith("National:"));
    for (const auto& entry : m_prompt.entries) {
        EXPECT_EQ(entry.icon, Prompt::Icon::Exclamation);
        EXPECT_EQ(entry.title, "LumoQ4 Utility");
    }
    EXPECT_TRUE(m_pComm->journal.isEmpty());
}

TEST_F(EpsonPanelTest, SendGoesThroughTheNativeMessageBox) {
    Edit("txtEPSON")->setText("AB");
    EXPECT_EQ(Press("cmdEPSON(19)"), "41 42");
    EXPECT_EQ(Edit("txtMessage")->text(), "AB");
    Edit("txtMessage")->setText("old");
    Edit("txtEPSON")->clear();
    EXPECT_EQ(Press("cmdEPSON(19)"), "");
    EXPECT_EQ(Edit("txtMessage")->text(), "");
}

TEST_F(EpsonPanelTest, TheModeListsSendAtOnce) {
    Combo("cboOperation")->setCurrentIndex(2);
    EXPECT_EQ(Hex(m_pComm->Written()), "1F 03");
    Combo("cboPeripheral")->setCurrentIndex(2);
    EXPECT_EQ(Hex(m_pComm->Written()), "1F 03 1B 3D 03");
    Combo("cboPeripheral")->setCurrentIndex(0);
    Combo("cboOperation")->setCurrentIndex(1);
    EXPECT_EQ(Hex(m_pComm->Written()), "1F 03 1B 3D 03 1B 3D 01 1F 02");
}

TEST_F(EpsonPanelTest, TheModeListsAreSilentWhileTheWindowLoads) {
    // A fresh start selects both lists while loading and sends nothing.
    m_pWindow.reset();
    m_pComm->journal.clear();
    Start();
    EXPECT_EQ(Combo("cboOperation")->currentIndex(), 0);
    EXPECT_EQ(Combo("cboPeripheral")->currentIndex(), 1);
    EXPECT_TRUE(m_pComm->journal.isEmpty());
    Window().m_blnLoading = true;
    Combo("cboOperation")->setCurrentIndex(2);
    Combo("cboPeripheral")->setCurrentIndex(0);
    EXPECT_TRUE(m_pComm->journal.isEmpty());
}

} // namespace
