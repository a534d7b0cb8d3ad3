#include "Bytes.h"
#include "DisplayEmulator.h"

#include <gtest/gtest.h>

namespace {
DisplayEmulator vt100() {
    DisplayEmulator::Options options;
    options.vt100 = true;
    return DisplayEmulator(options);
}

QByteArray digits(int i_iCount) {
    QByteArray text;
    for (int i = 0; i < i_iCount; ++i) {
        text += static_cast<char>('!' + i);
    }
    return text;
}
} // namespace

TEST(Vt100Mode, FourByTwentyScreen) {
    DisplayEmulator display = vt100();
    EXPECT_EQ(display.Rows(), 4);
    EXPECT_EQ(display.Columns(), 20);
    EXPECT_EQ(display.CurrentMode(), DisplayEmulator::Mode::Vt100);
}

TEST(Vt100Mode, IdentificationAnswer) {
    DisplayEmulator display = vt100();
    EXPECT_EQ(display.Receive(H("1B 5B 30 63")), H("1B 5B 3F 31 3B 32 3B 33 3B 34 3B 35 63"));
    EXPECT_EQ(display.Cells(), Spaces(80));
}

TEST(Vt100Mode, PrintingWrapsAtOnceAndScrollsFromTheLastLine) {
    DisplayEmulator display = vt100();
    display.Receive("AB");
    EXPECT_EQ(display.Cells().left(2), QByteArray("AB"));
    EXPECT_EQ(display.CursorColumn(), 2);
    display.Receive(H("0D"));
    display.Receive(digits(20));
    EXPECT_EQ(display.CursorRow(), 1);
    EXPECT_EQ(display.CursorColumn(), 0);

    DisplayEmulator full = vt100();
    const QByteArray text = digits(80);
    full.Receive(text);
    EXPECT_EQ(full.Cells(), text.mid(20) + Spaces(20));
    EXPECT_EQ(full.CursorRow(), 3);
    EXPECT_EQ(full.CursorColumn(), 0);
}

TEST(Vt100Mode, BackspaceLineFeedCarriageReturn) {
    DisplayEmulator display = vt100();
    display.Receive(H("08"));
    EXPECT_EQ(display.CursorColumn(), 0);
    display.Receive(H("41 42 0A"));
    EXPECT_EQ(display.CursorRow(), 1);
    EXPECT_EQ(display.CursorColumn(), 2);
    display.Receive(H("0D 08"));
    EXPECT_EQ(display.CursorColumn(), 0);
    display.Receive(H("0A 0A 0A")); // the third scrolls
    EXPECT_EQ(display.CursorRow(), 3);
    EXPECT_EQ(display.LineText(0), QString(20, ' '));
}

TEST(Vt100Mode, PositionClearsAndDroppedSequences) {
    DisplayEmulator display = vt100();
    display.Receive(H("1B 5B 32 3B 31 35 48")); // ESC [2;15H
    EXPECT_EQ(display.CursorRow(), 1);
    EXPECT_EQ(display.CursorColumn(), 14);
    display.Receive(H("1B 5B 39 3B 39 39 48")); // ESC [9;99H
    EXPECT_EQ(display.CursorRow(), 3);
    EXPECT_EQ(display.CursorColumn(), 19);
    display.Receive(H("1B 5B 3B 48")); // ESC [;H
    EXPECT_EQ(display.CursorRow(), 0);
    EXPECT_EQ(display.CursorColumn(), 0);

    display.Receive(QByteArray(20, 'x'));
    display.Receive(H("1B 5B 31 3B 36 48 1B 5B 30 4B")); // column 6, clear to end
    EXPECT_EQ(display.LineText(0), QString("xxxxx") + QString(15, ' '));
    EXPECT_EQ(display.CursorColumn(), 5);
    display.Receive(H("1B 5B 32 4A")); // clear screen, cursor stays
    EXPECT_EQ(display.Cells(), Spaces(80));
    EXPECT_EQ(display.CursorColumn(), 5);

    display.Receive(H("1B 5B 48 41")); // ESC [H is dropped; A prints
    EXPECT_EQ(display.Cells()[5], 'A');
    display.Receive(H("1B 0D")); // CR after ESC is swallowed
    EXPECT_EQ(display.CursorColumn(), 6);
}

TEST(Vt100Mode, ScreenReadBrightnessAndCountryCode) {
    DisplayEmulator display = vt100();
    display.Receive("HELLO");
    EXPECT_EQ(display.Receive(H("1B 54")), QByteArray("HELLO") + Spaces(75));
    display.Receive(H("1B 42 32"));
    EXPECT_EQ(display.State().brightness, 2);
    display.Receive(H("1B 52 0B"));
    EXPECT_EQ(display.State().countryCode, 11);
    EXPECT_EQ(display.Cells(), QByteArray("HELLO") + Spaces(75));
    EXPECT_EQ(display.CursorColumn(), 5);
}

TEST(Vt100Mode, NativeFramesAreNotCommandsHere) {
    DisplayEmulator display = vt100();
    EXPECT_TRUE(display.Receive(H("04 01 49 34 17")).isEmpty());
}
