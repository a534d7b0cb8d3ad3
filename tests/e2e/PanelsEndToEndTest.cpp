#include "E2EFixture.h"

#include <QTest>

namespace {

class PanelsEndToEnd : public E2EFixture {
protected:
    void SetUp() override {
        E2EFixture::SetUp();
        Start();
    }
};

TEST_F(PanelsEndToEnd, EpsonButtonsMoveAndClear) {
    Edit("txtEPSON")->setText("ABCDEFGHIJ");
    Press("cmdEPSON(19)");
    EXPECT_EQ(Line(0).left(10), "ABCDEFGHIJ");
    Press("cmdEPSON(4)"); // home
    EXPECT_EQ(Display().CursorColumn(), 0);
    Press("cmdEPSON(3)"); // right
    Press("cmdEPSON(3)");
    EXPECT_EQ(Display().CursorColumn(), 2);
    Combo("cboRow")->setCurrentIndex(1);
    Combo("cboColumn")->setCurrentIndex(19);
    Press("cmdEPSON(15)");
    EXPECT_EQ(Display().CursorRow(), 1);
    EXPECT_EQ(Display().CursorColumn(), 19);
    Press("cmdEPSON(8)"); // CLR
    EXPECT_EQ(Line(0).trimmed(), "");
    Combo("cboNational")->setCurrentIndex(2);
    Press("cmdEPSON(16)");
    EXPECT_EQ(Display().State().internationalSet, 2);
    Press("cmdEPSON(11)"); // reverse
    EXPECT_TRUE(Display().State().reverse);
    Edit("txtBlink")->setText("200");
    Press("cmdEPSON(18)");
    EXPECT_EQ(Display().State().blinkInterval, 200);
    // The lists send outside the command envelope; let the simulator read the bytes.
    Combo("cboOperation")->setCurrentIndex(1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Display().State().writeMode != DisplayState::WriteMode::OverWrite; }, 2000));
    EXPECT_EQ(Display().State().writeMode, DisplayState::WriteMode::VerticalScroll);
    Combo("cboPeripheral")->setCurrentIndex(2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Display().State().peripheral != DisplayState::Peripheral::Display; }, 2000));
    EXPECT_EQ(Display().State().peripheral, DisplayState::Peripheral::Both);
    ExpectUsable();
}

TEST_F(PanelsEndToEnd, AsciiButtonsShowTheirCharacters) {
    Press("cmdASCII1(65)");
    Press("cmdASCII1(32)");
    Press("cmdASCII1(48)");
    Press("cmdASCII2(50)"); // 178: a fully lit cell
    EXPECT_EQ(Display().Cells().left(4), QByteArray("A 0\xB2"));
    EXPECT_TRUE(Display().FullyLit(3));
}

TEST_F(PanelsEndToEnd, FullyLightTheTubeLightsEveryCell) {
    Press("cmdLightTube");
    for (int cell = 0; cell < 40; ++cell) {
        EXPECT_TRUE(Display().FullyLit(cell)) << cell;
    }
    EXPECT_EQ(Status(), "");
}

} // namespace
