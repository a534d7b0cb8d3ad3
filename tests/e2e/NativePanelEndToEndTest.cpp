#include "E2EFixture.h"

namespace {

class NativeEndToEnd : public E2EFixture {
protected:
    void SetUp() override {
        E2EFixture::SetUp();
        Start();
    }
};

TEST_F(NativeEndToEnd, SendThenGetReturnsTheText) {
    Edit("txtMessage")->setText("HELLO DISPLAY");
    Press("cmdVELT(6)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Line(0), "HELLO DISPLAY       ");
    Edit("txtMessage")->clear();
    Press("cmdVELT(7)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtMessage")->text(), QStringLiteral("HELLO DISPLAY").leftJustified(40));
    EXPECT_EQ(Edit("txtEPSON")->text(), Edit("txtMessage")->text());
}

TEST_F(NativeEndToEnd, TranslatedCharactersReachTheDisplayAsItsOwnCodes) {
    Edit("txtMessage")->setText(QStringLiteral("caf\u00e9 \u00c4"));
    Press("cmdVELT(6)");
    EXPECT_EQ(Display().Cells().left(6), QByteArray("caf\x82 \x8E"));
}

TEST_F(NativeEndToEnd, EveryConfigurationCommandIsAcceptedAndTakesEffect) {
    Combo("cboInternationalCode")->setCurrentIndex(4);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Display().State().internationalSet, 4);

    Edit("txtMessage")->setText("LAYER TWO");
    Press("cmdVELT(6)");
    Edit("txtLayer")->setText("2");
    Press("cmdVELT(2)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_TRUE(Display().State().layers[1].startsWith("LAYER TWO"));

    Edit("txtPosition")->setText("25");
    Press("cmdVELT(3)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Display().CursorRow(), 1);
    EXPECT_EQ(Display().CursorColumn(), 4);

    Edit("txtStart")->setText("1");
    Edit("txtEnd")->setText("6");
    Press("cmdVELT(4)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Line(0).left(9), "      TWO");

    Combo("cboLayer")->setCurrentIndex(3);
    Combo("cboMode")->setCurrentIndex(2);
    Press("cmdVELT(5)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Display().State().demoLayers, 4);
    EXPECT_EQ(Display().State().demoMode, 3);

    Combo("cboShowSavedMessageAfterRebootMode")->setCurrentIndex(1);
    Press("cmdVELT(10)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Display().State().startupMode, 1);

    Press("cmdVELT(8)"); // Printer ON: the bytes that follow go to the printer
    EXPECT_EQ(Status(), "OK");
    Combo("cboDevice")->setCurrentIndex(1);
    Press("cmdVELT(8)");
    EXPECT_EQ(Status(), "OK");

    Combo("cboS_BaudRate")->setCurrentIndex(1); // 19200
    Press("cmdVELT(0)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Display().State().baudCode, '0');
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "19200");
    ExpectUsable();
}

TEST_F(NativeEndToEnd, ARefusedValueShowsGetNack) {
    Edit("txtLayer")->setText("7");
    Press("cmdVELT(2)");
    EXPECT_EQ(Status(), "Get Nack");
    ExpectUsable();
}

TEST_F(NativeEndToEnd, GetVersionFillsTheLabel) {
    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Find<QLabel>("lblVersion")->text(), "Firmware Version : V1.07");
}

} // namespace
