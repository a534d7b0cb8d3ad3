#include "core/vt100/IdentificationAnswer.h"

#include <gtest/gtest.h>

namespace {
std::array<QString, 5> Fields(const char* i_sAnswer) {
    return IdentificationAnswer::Fields(QString::fromLatin1(i_sAnswer));
}
} // namespace

TEST(IdentificationAnswer, FieldsSitBetweenTheSeparators) {
    const auto f = Fields("\x1b[?12;V3.04;US;4;20c");
    EXPECT_EQ(f[0], "12");
    EXPECT_EQ(f[1], "V3.04");
    EXPECT_EQ(f[2], "US");
    EXPECT_EQ(f[3], "4");
    EXPECT_EQ(f[4], "20");
}

TEST(IdentificationAnswer, MissingDelimitersLeaveFieldsEmpty) {
    auto f = Fields("\x1b[?1;2;3");
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[1], "2");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[3], "");
    EXPECT_EQ(f[4], "");
    // Without the closing c only the fifth field is lost.
    f = Fields("\x1b[?1;2;3;4;5");
    EXPECT_EQ(f[3], "4");
    EXPECT_EQ(f[4], "");
    // A separator inside the three skipped characters gives no type of display.
    f = Fields("\x1b;1;2;3;4c");
    EXPECT_EQ(f[0], "");
    EXPECT_EQ(f[1], "1");
    EXPECT_EQ(f[4], "4");
    f = Fields("");
    EXPECT_EQ(f[0], "");
    EXPECT_EQ(f[4], "");
}

TEST(IdentificationAnswer, TheFifthFieldEndsAtTheFirstCAfterTheLastSeparator) {
    // The c of "color" in the third field is not the closing one.
    const auto f = Fields("\x1b[?1;2;color;4;20cxyc");
    EXPECT_EQ(f[2], "color");
    EXPECT_EQ(f[4], "20");
}

TEST(IdentificationAnswer, MessageLinesAreSeparatedByCrLf) {
    EXPECT_EQ(IdentificationAnswer::MessageText("?1;2;3;4;5c"),
              "Return Code: ?1;2;3;4;5c\r\n\r\nType of display : \r\nPROM version : 2\r\n"
              "Character set : 3\r\nNumber of lines : 4\r\nColumn/line : 5");
}
