#include "support/WindowFixture.h"

namespace {

class AsciiPanelTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Start();
    }
};

TEST_F(AsciiPanelTest, CaptionsShowNumbersOrBoldCharacters) {
    int bold = 0;
    for (int code = 0; code < 128; ++code) {
        QPushButton* b = Button(QStringLiteral("cmdASCII1(%1)").arg(code));
        if (b->font().bold()) {
            ++bold;
            EXPECT_EQ(b->text(), QString(QChar(code)));
            EXPECT_EQ(b->toolTip(), QString::number(code));
        } else {
            EXPECT_EQ(b->text(), QString::number(code));
        }
    }
    EXPECT_EQ(bold, 78);
    EXPECT_EQ(Button("cmdASCII1(96)")->text(), "96");
    EXPECT_EQ(Button("cmdASCII1(65)")->text(), "A");
    EXPECT_EQ(Button("cmdASCII2(0)")->text(), "128");
    EXPECT_EQ(Button("cmdASCII2(127)")->text(), "255");
}

TEST_F(AsciiPanelTest, EachButtonSendsItsOwnCode) {
    EXPECT_EQ(Press("cmdASCII1(0)"), "00");  // the non-bold "0"
    EXPECT_EQ(Press("cmdASCII1(48)"), "30"); // the bold "0"
    EXPECT_EQ(Press("cmdASCII1(32)"), "20");
    EXPECT_EQ(Press("cmdASCII1(96)"), "60");
    EXPECT_EQ(Press("cmdASCII1(127)"), "7F");
    EXPECT_EQ(Press("cmdASCII1(126)"), "7E");
    EXPECT_EQ(Status(), "");
}

TEST_F(AsciiPanelTest, HighCodesGoOutAsSingleUntranslatedBytes) {
    // 0xE9 is é, which text would translate to 0x82; the byte path sends it as it is.
    EXPECT_EQ(Press("cmdASCII2(105)"), "E9");
    EXPECT_EQ(Press("cmdASCII2(0)"), "80");
    EXPECT_EQ(Press("cmdASCII2(127)"), "FF");
    EXPECT_EQ(m_pComm->writes.size(), 3);
}

TEST_F(AsciiPanelTest, WithNoDisplayOnlyThePointerChangesAndComesBack) {
    m_pComm->failOpen = true;
    EXPECT_EQ(Press("cmdASCII1(65)"), "");
    EXPECT_FALSE(Window().Busy());
    EXPECT_TRUE(Window().SSTab1->isEnabled());
    EXPECT_TRUE(m_prompt.entries.empty());
}

} // namespace
