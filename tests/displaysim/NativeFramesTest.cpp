#include "Bytes.h"
#include "DisplayEmulator.h"

#include <gtest/gtest.h>

namespace {
const QByteArray kAck = H("06");
const QByteArray kNak = H("15");
} // namespace

TEST(NativeFrames, ConfigurationFramesAreAcknowledgedAndTakeEffect) {
    DisplayEmulator display;
    EXPECT_EQ(display.Receive(H("04 01 49 34 17")), kAck);
    EXPECT_EQ(display.State().internationalSet, 4);
    EXPECT_EQ(display.Receive(H("04 01 49 3E 17")), kAck);
    EXPECT_EQ(display.State().internationalSet, 14);

    EXPECT_EQ(display.Receive(H("04 01 42 31 45 17")), kAck);
    EXPECT_EQ(display.State().baudCode, '1');
    EXPECT_EQ(display.State().parityCode, 'E');

    EXPECT_EQ(display.Receive(H("04 01 4F 31 17")), kAck);
    EXPECT_EQ(display.State().startupMode, 1);
    EXPECT_EQ(display.Receive(H("04 01 4F 30 17")), kAck);
    EXPECT_EQ(display.State().startupMode, 0);
}

TEST(NativeFrames, InvalidParametersAreRefusedWithoutEffect) {
    DisplayEmulator display;
    EXPECT_EQ(display.Receive(H("04 01 49 3F 17")), kNak);    // code 15
    EXPECT_EQ(display.Receive(H("04 01 42 37 4E 17")), kNak); // no such baud code
    EXPECT_EQ(display.Receive(H("04 01 42 30 6E 17")), kNak); // parity in lower case
    EXPECT_EQ(display.Receive(H("04 01 53 30 17")), kNak);    // layer 0
    EXPECT_EQ(display.Receive(H("04 01 53 34 17")), kNak);    // layer 4
    EXPECT_EQ(display.Receive(H("04 01 50 30 17")), kNak);    // position 0
    EXPECT_EQ(display.Receive(H("04 01 50 59 17")), kNak);    // position 41
    EXPECT_EQ(display.Receive(H("04 01 43 35 33 17")), kNak); // start after end
    EXPECT_EQ(display.Receive(H("04 01 44 38 31 17")), kNak); // layer combination 8
    EXPECT_EQ(display.Receive(H("04 01 4F 32 17")), kNak);    // start-up mode 2
    EXPECT_EQ(display.Receive(H("04 01 49 17")), kNak);       // parameter missing
    EXPECT_EQ(display.Receive(H("04 01 54 31 17")), kNak);    // "T" takes none
    EXPECT_EQ(display.Receive(H("04 01 5A 17")), kNak);       // unknown letter
    EXPECT_EQ(display.Receive(H("04 01 49 31 32 33")), kNak); // no ETB in six bytes
    EXPECT_EQ(display.State().internationalSet, 0);
    EXPECT_EQ(display.State().baudChanges, 0);
    EXPECT_EQ(display.CursorColumn(), 0);
}

TEST(NativeFrames, MessageReadBackIsSohFortyCellsAndClosingByte) {
    DisplayEmulator display;
    EXPECT_TRUE(display.Receive("HI").isEmpty());
    EXPECT_EQ(display.Receive(H("04 01 54 17")), H("01 48 49") + Spaces(38) + H("17"));
}

TEST(NativeFrames, VersionReplyIsAtLeastFourBytes) {
    DisplayEmulator display;
    EXPECT_EQ(display.Receive(H("04 01 56 17")), H("56 31 2E 30 37")); // V1.07
}

TEST(NativeFrames, SaveLayerThenDemoShowsIt) {
    DisplayEmulator display;
    display.Receive("HELLO");
    EXPECT_EQ(display.Receive(H("04 01 53 32 17")), kAck);
    EXPECT_EQ(display.State().layers[1], QByteArray("HELLO") + Spaces(35));
    display.Receive(H("0C"));
    EXPECT_EQ(display.LineText(0), QString(20, ' '));
    // Layer 2, mode 3 (blinking).
    EXPECT_EQ(display.Receive(H("04 01 44 32 33 17")), kAck);
    EXPECT_EQ(display.LineText(0).trimmed(), "HELLO");
    EXPECT_EQ(display.State().demoLayers, 2);
    EXPECT_EQ(display.State().demoMode, 3);
}

TEST(NativeFrames, PositionMovesTheCursorToACell) {
    DisplayEmulator display;
    EXPECT_EQ(display.Receive(H("04 01 50 3C 17")), kAck); // position 12
    display.Receive("X");
    EXPECT_EQ(display.Cells().indexOf('X'), 11);
    EXPECT_EQ(display.Receive(H("04 01 50 58 17")), kAck); // position 40
    EXPECT_EQ(display.CursorRow(), 1);
    EXPECT_EQ(display.CursorColumn(), 19);
}

TEST(NativeFrames, ClearRangeBlanksCellsInclusive) {
    DisplayEmulator display;
    display.Receive(QByteArray(40, 'A'));
    EXPECT_EQ(display.Receive(H("04 01 43 33 35 17")), kAck); // cells 3 to 5
    EXPECT_EQ(display.Cells().left(6), QByteArray("AA   A"));
    EXPECT_EQ(display.Receive(H("04 01 43 31 58 17")), kAck); // 1 to 40
    EXPECT_EQ(display.Cells(), Spaces(40));
}

TEST(NativeFrames, NakModeRefusesEveryFrame) {
    DisplayEmulator::Options options;
    options.refuseAllFrames = true;
    DisplayEmulator display(options);
    EXPECT_EQ(display.Receive(H("04 01 49 34 17")), kNak);
    EXPECT_EQ(display.Receive(H("04 01 54 17")), kNak);
    EXPECT_EQ(display.State().internationalSet, 0);
}

TEST(NativeFrames, FrameSplitAcrossReadsAndAmidText) {
    DisplayEmulator display;
    EXPECT_TRUE(display.Receive(H("41 04 01")).isEmpty());
    EXPECT_EQ(display.Receive(H("49 33 17 42")), kAck);
    EXPECT_EQ(display.State().internationalSet, 3);
    EXPECT_EQ(display.LineText(0).trimmed(), "AB");
    // A lone EOT is not a frame; the text around it still shows.
    display.Receive(H("04 43"));
    EXPECT_EQ(display.LineText(0).trimmed(), "ABC");
}

TEST(NativeFrames, LogNamesEachCommandAndAnswer) {
    DisplayEmulator display;
    display.Receive(H("04 01 49 34 17"));
    display.Receive("H");
    display.Receive("I");
    ASSERT_EQ(display.Log().size(), 3);
    EXPECT_EQ(display.Log()[0].ToString(),
              QStringLiteral("→ 04 01 49 34 17  set international code 4: Denmark I"));
    EXPECT_EQ(display.Log()[1].ToString(), QStringLiteral("← 06  ACK"));
    EXPECT_EQ(display.Log()[2].ToString(), QStringLiteral("→ 48 49  text \"HI\""));
}

TEST(NativeFrames, LongRunsAreShortenedInTheLog) {
    DisplayEmulator display;
    display.Receive(QByteArray(60, 'A'));
    EXPECT_EQ(display.Log().back().ToString(),
              QStringLiteral("→ 41 41 41 41 41 41 .. 41 41 (60 bytes)  text \"") +
                  QString(60, QLatin1Char('A')) + QLatin1Char('"'));
}
