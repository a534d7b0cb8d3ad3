#include "Bytes.h"
#include "DisplayEmulator.h"

#include <gtest/gtest.h>

namespace {
void expectCursor(const DisplayEmulator& i_display, int i_iRow, int i_iColumn) {
    EXPECT_EQ(i_display.CursorRow(), i_iRow);
    EXPECT_EQ(i_display.CursorColumn(), i_iColumn);
}

QByteArray letters(int i_iCount) {
    QByteArray text;
    for (int i = 0; i < i_iCount; ++i) {
        text += static_cast<char>('A' + i % 26);
    }
    return text;
}
} // namespace

TEST(EpsonText, BytesAreStoredAsSentAndShownThroughTheCharacterSet) {
    DisplayEmulator display;
    EXPECT_TRUE(display.Receive(H("82 41")).isEmpty()); // é as the character table sends it
    EXPECT_EQ(display.Cells().left(2), H("82 41"));
    EXPECT_EQ(display.LineText(0).left(2), QString::fromUtf8("éA"));
}

TEST(EpsonText, OverWriteWrapsToTheSecondLineThenHome) {
    DisplayEmulator display;
    display.Receive(letters(20));
    expectCursor(display, 1, 0);
    display.Receive(letters(20));
    expectCursor(display, 0, 0);
    display.Receive("z");
    EXPECT_EQ(display.Cells()[0], 'z');
}

TEST(EpsonText, FullyLitCells) {
    DisplayEmulator display;
    display.Receive(QByteArray(40, '\xB2'));
    for (int i = 0; i < 40; ++i) {
        EXPECT_TRUE(display.FullyLit(i)) << i;
    }
    display.Receive(H("0C 41"));
    EXPECT_FALSE(display.FullyLit(0));
}

TEST(EpsonCursor, MovesOfTheCommandTable) {
    DisplayEmulator display;
    display.Receive(H("1F 24 05 01")); // column 5, line 1
    expectCursor(display, 0, 4);
    display.Receive(H("0A")); // down
    expectCursor(display, 1, 4);
    display.Receive(H("1F 0A")); // up
    expectCursor(display, 0, 4);
    display.Receive(H("08")); // left
    expectCursor(display, 0, 3);
    display.Receive(H("09")); // right
    expectCursor(display, 0, 4);
    display.Receive(H("1F 42")); // bottom position
    expectCursor(display, 1, 0);
    display.Receive(H("1F 0D")); // right end
    expectCursor(display, 1, 19);
    display.Receive(H("0D")); // left end
    expectCursor(display, 1, 0);
    display.Receive(H("0B")); // home
    expectCursor(display, 0, 0);
    display.Receive(H("08")); // left from home: last cell
    expectCursor(display, 1, 19);
    display.Receive(H("1F 24 14 02"));
    expectCursor(display, 1, 19);
    display.Receive(H("1F 24 15 02")); // column 21: ignored
    expectCursor(display, 1, 19);
}

TEST(EpsonClear, ScreenAndLine) {
    DisplayEmulator display;
    display.Receive(letters(40));
    display.Receive(H("1F 24 03 02 18")); // CAN on line 2
    EXPECT_EQ(display.LineText(0), QString::fromLatin1(letters(20)));
    EXPECT_EQ(display.LineText(1), QString(20, ' '));
    expectCursor(display, 1, 0);
    display.Receive(H("0C"));
    EXPECT_EQ(display.Cells(), Spaces(40));
    expectCursor(display, 0, 0);
}

TEST(EpsonToggles, CursorAndReverse) {
    DisplayEmulator display;
    display.Receive(H("1F 43 30"));
    EXPECT_FALSE(display.CursorVisible());
    display.Receive(H("1F 43 31"));
    EXPECT_TRUE(display.CursorVisible());
    display.Receive(H("1F 72 31 41 1F 72 30 42"));
    EXPECT_TRUE(display.Screen().Reversed(0, 0));
    EXPECT_FALSE(display.Screen().Reversed(0, 1));
}

TEST(EpsonSettings, NationalSetCodeTableBlink) {
    DisplayEmulator display;
    display.Receive(H("1B 52 0B"));
    EXPECT_EQ(display.State().internationalSet, 11);
    display.Receive(H("1B 74 07"));
    EXPECT_EQ(display.State().codeTable, 7);
    display.Receive(H("1F 45 C8"));
    EXPECT_EQ(display.State().blinkInterval, 200);
    display.Receive(H("1B 52 0F")); // set 15 does not exist
    EXPECT_EQ(display.State().internationalSet, 11);
    EXPECT_EQ(display.Cells(), Spaces(40));
}

TEST(EpsonSettings, InitialiseRestoresDefaults) {
    DisplayEmulator display;
    display.Receive(H("1B 52 04 1F 43 30 1F 02 41 42"));
    display.Receive(H("1B 40"));
    EXPECT_EQ(display.Cells(), Spaces(40));
    EXPECT_EQ(display.State().internationalSet, 0);
    EXPECT_TRUE(display.CursorVisible());
    EXPECT_EQ(display.State().writeMode, DisplayState::WriteMode::OverWrite);
    expectCursor(display, 0, 0);
}

TEST(EpsonSettings, SelfTestPattern) {
    DisplayEmulator display;
    display.Receive(H("1F 40"));
    EXPECT_TRUE(display.LineText(0).contains("SELF TEST"));
    EXPECT_EQ(display.Cells().mid(20, 3), QByteArray("!\"#"));
    EXPECT_EQ(display.State().selfTests, 1);
}

TEST(EpsonWriteModes, VerticalScrollPushesLinesUp) {
    DisplayEmulator display;
    display.Receive(H("1F 02"));
    const QByteArray text = letters(41);
    display.Receive(text);
    EXPECT_EQ(display.LineText(0), QString::fromLatin1(text.mid(20, 20)));
    EXPECT_EQ(display.LineText(1), QString::fromLatin1(text.mid(40)) + QString(19, ' '));
    expectCursor(display, 1, 1);
}

TEST(EpsonWriteModes, HorizontalScrollShiftsTheLine) {
    DisplayEmulator display;
    display.Receive(H("1F 03"));
    const QByteArray text = letters(22);
    display.Receive(text);
    EXPECT_EQ(display.LineText(0), QString::fromLatin1(text.mid(2)));
    EXPECT_EQ(display.LineText(1), QString(20, ' '));
    display.Receive(H("1F 01"));
    EXPECT_EQ(display.State().writeMode, DisplayState::WriteMode::OverWrite);
}

TEST(EpsonPeripheral, SelectionRoutesBytesToTheAuxDevice) {
    DisplayEmulator display;
    display.Receive(H("1B 3D 01 41 42"));
    EXPECT_EQ(display.PassThrough(), QByteArray("AB"));
    EXPECT_EQ(display.Cells(), Spaces(40));
    display.Receive(H("1B 3D 03 43"));
    EXPECT_EQ(display.PassThrough(), QByteArray("ABC"));
    EXPECT_EQ(display.Cells()[0], 'C');
    display.Receive(H("1B 3D 02 44"));
    EXPECT_EQ(display.PassThrough(), QByteArray("ABC"));
    EXPECT_EQ(display.Cells()[1], 'D');
}

TEST(EpsonPeripheral, PrinterOnAndOff) {
    DisplayEmulator display;
    display.Receive(H("1B 47 78 79 0A 1B 53 7A"));
    EXPECT_EQ(display.PassThrough(), H("78 79 0A"));
    EXPECT_EQ(display.Cells()[0], 'z');
    // Native frames still reach the display while the printer listens.
    display.Receive(H("1B 47"));
    EXPECT_EQ(display.Receive(H("04 01 49 32 17")), H("06"));
}

TEST(EpsonParameters, ParameterByteFourIsNotAFrame) {
    DisplayEmulator display;
    EXPECT_EQ(display.Receive(H("1B 74 04 04 01 49 31 17")), H("06"));
    EXPECT_EQ(display.State().codeTable, 4);
    EXPECT_EQ(display.State().internationalSet, 1);
}
