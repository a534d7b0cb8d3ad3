#include "core/vt100/CVT100.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

// A 4x20 model with a text (bytes, escapes written as \x1b) already typed into it.
class Screen {
public:
    Screen() { model.SetDisplaySize(4, 20); }

    Screen& Type(const std::string& i_sKeys) {
        for (const char c : i_sKeys) {
            model.setKey(static_cast<quint8>(c));
        }
        return *this;
    }

    std::pair<int, int> Cursor() const {
        qint16 y = 0;
        qint16 x = 0;
        model.GetCursorPosition(y, x);
        return {y, x};
    }

    std::vector<qint16> Cells() const {
        std::vector<qint16> cells(80, -1);
        model.GetData(cells);
        return cells;
    }

    // Line 1..4 as text, an empty cell as '.'.
    std::string Line(int i_iLine) const {
        const std::vector<qint16> cells = Cells();
        std::string out;
        for (int col = 0; col < 20; ++col) {
            const qint16 code = cells[static_cast<size_t>((i_iLine - 1) * 20 + col)];
            out += code == 0 ? '.' : static_cast<char>(code);
        }
        return out;
    }

    bool Idle() const { return !model.InEscape() && model.EscapeBuffer().isEmpty(); }

    CVT100 model;
};

std::string Letters(int i_iCount) {
    std::string out;
    for (int i = 0; i < i_iCount; ++i) {
        out += static_cast<char>('A' + i % 26);
    }
    return out;
}

const std::string kEmpty(20, '.');

} // namespace

TEST(CVT100Creation, StartsEmptyAtHome) {
    CVT100 model;
    qint16 y = 0;
    qint16 x = 0;
    model.GetCursorPosition(y, x);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(x, 1);
    std::vector<qint16> cells(80, -1);
    model.GetData(cells);
    EXPECT_EQ(cells, std::vector<qint16>(80, 0));
    EXPECT_FALSE(model.InEscape());
}

TEST(CVT100Printing, TwentyCharactersWrapAtOnceToTheNextLine) {
    Screen s;
    s.Type(Letters(20));
    EXPECT_EQ(s.Line(1), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(s.Line(2), kEmpty);
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 1));
}

TEST(CVT100Printing, EightyCharactersScrollTheFirstLineAway) {
    Screen s;
    std::string keys;
    for (int i = 0; i < 80; ++i) {
        keys += static_cast<char>(i < 20 ? 'a' : (i < 40 ? 'b' : (i < 60 ? 'c' : 'd')));
    }
    s.Type(keys);
    EXPECT_EQ(s.Line(1), std::string(20, 'b'));
    EXPECT_EQ(s.Line(2), std::string(20, 'c'));
    EXPECT_EQ(s.Line(3), std::string(20, 'd'));
    EXPECT_EQ(s.Line(4), kEmpty);
    EXPECT_EQ(s.Cursor(), std::make_pair(4, 1));
}

TEST(CVT100Printing, ControlAndHighCodesAreStoredAsCharacters) {
    Screen s;
    s.model.setKey(7);
    s.model.setKey(128);
    s.model.setKey(255);
    s.model.setKey(0);
    const std::vector<qint16> cells = s.Cells();
    EXPECT_EQ(cells[0], 7);
    EXPECT_EQ(cells[1], 128);
    EXPECT_EQ(cells[2], 255);
    EXPECT_EQ(cells[3], 0);
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 5));
}

TEST(CVT100Controls, BackspaceStopsAtColumnZero) {
    Screen s;
    s.Type("AB\b");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 2));
    s.Type("\b\b\b");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 1));
    // Not back onto the previous line either.
    s.Type(Letters(20)).Type("\b");
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 1));
    EXPECT_EQ(s.Line(1), "ABCDEFGHIJKLMNOPQRST");
}

TEST(CVT100Controls, LineFeedKeepsTheColumnAndScrollsOnTheLastLine) {
    Screen s;
    s.Type("X\n");
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 2));
    s.Type("\n\n");
    EXPECT_EQ(s.Cursor(), std::make_pair(4, 2));
    s.Type("Y\n");
    EXPECT_EQ(s.Cursor(), std::make_pair(4, 3));
    EXPECT_EQ(s.Line(1), kEmpty); // the X scrolled away
    EXPECT_EQ(s.Line(3), ".Y..................");
    EXPECT_EQ(s.Line(4), kEmpty);
}

TEST(CVT100Controls, CarriageReturnGoesToColumnZero) {
    Screen s;
    s.Type("ABC\rZ");
    EXPECT_EQ(s.Line(1), "ZBC.................");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 2));
}

TEST(CVT100Escapes, ClearScreenLeavesTheCursor) {
    Screen s;
    s.Type(Letters(45)).Type("\x1b[2J");
    EXPECT_EQ(s.Cells(), std::vector<qint16>(80, 0));
    EXPECT_EQ(s.Cursor(), std::make_pair(3, 6));
    EXPECT_TRUE(s.Idle());
}

TEST(CVT100Escapes, ClearToEndOfLineFromColumnFive) {
    Screen s;
    s.Type(Letters(40)).Type("\x1b[2;6H\x1b[0K");
    EXPECT_EQ(s.Line(1), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(s.Line(2), "UVWXY...............");
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 6));
    EXPECT_TRUE(s.Idle());
}

TEST(CVT100Escapes, IdentificationRequestChangesNothing) {
    Screen s;
    s.Type("AB\x1b[0c");
    EXPECT_EQ(s.Line(1), "AB..................");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 3));
    EXPECT_TRUE(s.Idle());
}

TEST(CVT100Escapes, PositionCursorIsOneBased) {
    Screen s;
    s.Type("\x1b[3;7H");
    EXPECT_EQ(s.Cursor(), std::make_pair(3, 7));
    s.Type("Q");
    EXPECT_EQ(s.Line(3), "......Q.............");
    EXPECT_TRUE(s.Idle());
}

TEST(CVT100Escapes, PositionCursorIsKeptOnTheGridAndRoundsHalfToEven) {
    struct Case {
        const char* keys;
        int line;
        int column;
    };
    // Each case starts from line 2 column 2. Fractions: the parameter minus 1, half to even.
    const Case cases[] = {
        {"\x1b[9;99H", 4, 20},     {"\x1b[;H", 1, 1},  {"\x1b[0;0H", 1, 1},
        {"\x1b[3;H", 3, 1},        {"\x1b[;5H", 1, 5}, {"\x1b[99999999999999999999;12H", 4, 12},
        {"\x1b[2.5;4.5H", 3, 5},   // 1.5 -> 2, 3.5 -> 4
        {"\x1b[3.5;2.5H", 3, 3},   // 2.5 -> 2, 1.5 -> 2
        {"\x1b[1.6;10.4H", 2, 10}, // 0.6 -> 1, 9.4 -> 9
        {"\x1b[2.;7 H", 2, 7},     // "2." is a number; a blank may follow one
    };
    for (const Case& c : cases) {
        Screen s;
        s.Type("\x1b[2;2H").Type(c.keys);
        EXPECT_EQ(s.Cursor(), std::make_pair(c.line, c.column)) << c.keys + 1;
        EXPECT_TRUE(s.Idle()) << c.keys + 1;
    }
}

TEST(CVT100Escapes, NumbersKeepTheSequenceWaiting) {
    Screen s;
    s.Type("\x1b");
    EXPECT_TRUE(s.model.InEscape());
    for (const char* part : {"[", "1", "2", ".", "5", ";", "3"}) {
        s.Type(part);
        EXPECT_TRUE(s.model.InEscape()) << "after " << part;
    }
    EXPECT_EQ(s.model.EscapeBuffer(), QStringLiteral("[12.5;3"));
    // A long run of digits still waits; a column too large for any number is the last one.
    s.Type(std::string(500, '0'));
    EXPECT_TRUE(s.model.InEscape());
    s.Type("H");
    EXPECT_TRUE(s.Idle());
    EXPECT_EQ(s.Cursor(), std::make_pair(4, 20));
}

TEST(CVT100Escapes, UnknownSequencesAreDroppedAndTheNextCharacterPrints) {
    // Each is dropped at its last character.
    for (const std::string seq :
         {"[H", "[12J", "[5A", "[J", "[2K", "[1;2;", "[1;2J", "[-", "[1;-", "[ ", "[.", "X"}) {
        Screen s;
        s.Type("\x1b" + seq);
        EXPECT_TRUE(s.Idle()) << seq;
        s.Type("Z");
        EXPECT_EQ(s.Line(1), "Z...................") << seq;
        EXPECT_EQ(s.Cursor(), std::make_pair(1, 2)) << seq;
    }
}

TEST(CVT100Escapes, EscRSwallowsTwoCharacters) {
    Screen s;
    s.Type("\x1bR");
    EXPECT_TRUE(s.model.InEscape());
    s.model.setKey(0x0B);
    EXPECT_TRUE(s.model.InEscape());
    s.Type("\r");
    EXPECT_TRUE(s.Idle());
    s.Type("Z");
    EXPECT_EQ(s.Line(1), "Z...................");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 2));
}

TEST(CVT100Escapes, ControlsRightAfterEscAreSwallowed) {
    Screen s;
    s.Type("ABC\x1b\r");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 4));
    s.Type("\x1b\n\x1b\b");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 4));
    EXPECT_TRUE(s.Idle());
    // A second ESC ends the first sequence and starts nothing: the [ after it prints.
    s.Type("\x1b\x1b[");
    EXPECT_TRUE(s.Idle());
    EXPECT_EQ(s.Line(1), "ABC[................");
}

TEST(CVT100Data, GetDataIsRowByRow) {
    Screen s;
    s.Type("AB");
    std::vector<qint16> expected(80, 0);
    expected[0] = 65;
    expected[1] = 66;
    EXPECT_EQ(s.Cells(), expected);
    s.Type("\x1b[4;20HZ");
    EXPECT_EQ(s.Cells()[79], 0); // Z scrolled up to line 3 with the wrap
    EXPECT_EQ(s.Cells()[59], 'Z');
}

TEST(CVT100Data, GetDataRefusesAShortArrayAndLeavesTheRestOfALongOne) {
    Screen s;
    s.Type("AB");
    std::vector<qint16> shortArray(79, -1);
    s.model.GetData(shortArray);
    EXPECT_EQ(shortArray, std::vector<qint16>(79, -1));
    std::vector<qint16> longArray(82, -1);
    s.model.GetData(longArray);
    EXPECT_EQ(longArray[0], 65);
    EXPECT_EQ(longArray[79], 0);
    EXPECT_EQ(longArray[80], -1);
    EXPECT_EQ(longArray[81], -1);
}

TEST(CVT100Data, SetDataWithEightyBytesReplacesTheGrid) {
    Screen s;
    s.Type("\x1b[2;3H");
    QByteArray bytes;
    for (int i = 0; i < 80; ++i) {
        bytes.append(static_cast<char>(0x80 + i));
    }
    s.model.SetData(bytes);
    const std::vector<qint16> cells = s.Cells();
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(cells[static_cast<size_t>(i)], 0x80 + i) << i; // stored as unsigned bytes
    }
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 3));
}

TEST(CVT100Data, SetDataWithTenBytesReplacesTheStartOfLineOne) {
    Screen s;
    s.Type(Letters(30));
    s.model.SetData(QByteArray("0123456789"));
    EXPECT_EQ(s.Line(1), "0123456789KLMNOPQRST");
    EXPECT_EQ(s.Line(2), "UVWXYZABCD..........");
    // More bytes than cells: the rest is ignored.
    s.model.SetData(QByteArray(100, 'x'));
    EXPECT_EQ(s.Line(4), std::string(20, 'x'));
}

TEST(CVT100Size, RefusesCountsBelowOne) {
    Screen s;
    s.Type("AB");
    s.model.SetDisplaySize(0, 20);
    s.model.SetDisplaySize(4, -3);
    EXPECT_EQ(s.Line(1), "AB..................");
    EXPECT_EQ(s.Cursor(), std::make_pair(1, 3));
}

TEST(CVT100Size, SmallerGridMovesTheCursorToTheNearestCell) {
    Screen s;
    s.Type("\x1b[4;15H\x1b[");
    s.model.SetDisplaySize(2, 10);
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 10));
    EXPECT_TRUE(s.model.InEscape()); // the escape state is kept
    std::vector<qint16> cells(20, -1);
    s.model.GetData(cells);
    EXPECT_EQ(cells, std::vector<qint16>(20, 0));
    // Wrap and scroll follow the new size.
    s.Type("1;1HABCDEFGHIJK");
    s.model.GetData(cells);
    EXPECT_EQ(cells[10], 'K');
    EXPECT_EQ(s.Cursor(), std::make_pair(2, 2));
}

TEST(CVT100Size, OneByOneGridScrollsEveryCharacter) {
    CVT100 model;
    model.SetDisplaySize(1, 1);
    model.setKey('A');
    std::vector<qint16> cells(1, -1);
    model.GetData(cells);
    EXPECT_EQ(cells[0], 0);
    qint16 y = 0;
    qint16 x = 0;
    model.GetCursorPosition(y, x);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(x, 1);
}
