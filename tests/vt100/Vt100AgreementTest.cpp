// The window's screen model and the simulated display agree on the terminal stream: one table
// of byte streams, each run against both, each with the screen text and the cursor it must give.

#include "Vt100Screens.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string bytes;
    // The four lines, each without its trailing blanks, joined by "|".
    const char* screen;
    int line;
    int column;
};

// Failures name the case.
void PrintTo(const Case& i_case, std::ostream* o_pStream) {
    *o_pStream << i_case.name;
}

std::string Letters(int i_iCount) {
    std::string out;
    for (int i = 0; i < i_iCount; ++i) {
        out += static_cast<char>('A' + i % 26);
    }
    return out;
}

const Case kCases[] = {
    // Printing, wrap and scroll.
    {"PrintsAtTheCursor", "AB", "AB|||", 1, 3},
    {"WrapsAtOnceAfterTheLastColumn", Letters(20), "ABCDEFGHIJKLMNOPQRST|||", 2, 1},
    {"TheEightiethCharacterScrollsTheFirstLineAway", Letters(80),
     "UVWXYZABCDEFGHIJKLMN|OPQRSTUVWXYZABCDEFGH|IJKLMNOPQRSTUVWXYZAB|", 4, 1},
    {"ControlAndHighCodesPrint", "\x07\x80\xFF\x09\x0B"s, "\x07\x80\xFF\x09\x0B|||", 1, 6},
    {"ANulPrintsAsAnEmptyCell", "A\0B"s, "A B|||", 1, 4},
    // BS, LF, CR.
    {"BackspaceMovesLeft", "AB\b", "AB|||", 1, 2},
    {"BackspaceStopsAtColumnOne", "\b\bA\b\b\b", "A|||", 1, 1},
    {"BackspaceNeverGoesToThePreviousLine", Letters(20) + "\b", "ABCDEFGHIJKLMNOPQRST|||", 2, 1},
    {"LineFeedKeepsTheColumn", "AB\nC", "AB|  C||", 2, 4},
    {"LineFeedOnTheLastLineScrolls", "A\n\n\nB\nC", "|| B|  C", 4, 4},
    {"CarriageReturnGoesToColumnOne", "ABC\rZ", "ZBC|||", 1, 2},
    // The sequences the display knows.
    {"ClearScreenLeavesTheCursor", Letters(45) + "\x1b[2J", "|||", 3, 6},
    {"ClearToEndOfLineFromTheCursor", Letters(40) + "\x1b[2;6H\x1b[0K",
     "ABCDEFGHIJKLMNOPQRST|UVWXY||", 2, 6},
    {"IdentificationRequestChangesNothing", "AB\x1b[0cC", "ABC|||", 1, 4},
    {"ReadScreenRequestChangesNothing", "AB\x1bTC", "ABC|||", 1, 4},
    {"PositionCursorIsOneBased", "\x1b[3;7HQ", "||      Q|", 3, 8},
    {"PositionCursorIsKeptOnTheGrid", "\x1b[9;99H", "|||", 4, 20},
    {"EmptyParametersAreZero", "\x1b[2;2H\x1b[;H", "|||", 1, 1},
    {"ZeroParametersAreLineAndColumnOne", "\x1b[2;2H\x1b[0;0H", "|||", 1, 1},
    {"AHugeParameterIsTheLastLine", "\x1b[99999999999999999999;12H", "|||", 4, 12},
    {"ARunOfDigitsTooLongForANumberIsTheLastLine", "\x1b[" + std::string(400, '9') + ";5H", "|||",
     4, 5},
    {"ANumberMayEndInAPoint", "\x1b[2.;7H", "|||", 2, 7},
    {"FractionsRoundHalfToEven", "\x1b[2.5;4.5H", "|||", 3, 5},
    {"FractionsRoundHalfToEvenDownwards", "\x1b[3.5;2.5H", "|||", 3, 3},
    {"SpacesMayFollowANumber", "\x1b[2 ;7 H", "|||", 2, 7},
    {"WritingTheLastCellAfterPositioningScrolls", "\x1b[4;20HZ", "||                   Z|", 4, 1},
    // Sequences dropped: the next character prints.
    {"UnknownFinalIsDropped", "\x1b[5AZ", "Z|||", 1, 2},
    {"FinalWithoutSemicolonIsDropped", "\x1b[HZ", "Z|||", 1, 2},
    {"ClearWithAnotherNumberIsDropped", "Q\x1b[12JZ", "QZ|||", 1, 3},
    {"SecondSemicolonIsDropped", "\x1b[1;2;Z", "Z|||", 1, 2},
    {"OtherLetterAfterBothParametersIsDropped", "\x1b[1;2JZ", "Z|||", 1, 2},
    {"LoneSignIsDropped", "\x1b[-Z", "Z|||", 1, 2},
    {"LoneSpaceIsDropped", "\x1b[ Z", "Z|||", 1, 2},
    {"UnknownEscapeIsDropped", "\x1bXZ", "Z|||", 1, 2},
    {"ControlsRightAfterEscAreSwallowed", "ABC\x1b\r\x1b\n\x1b\b", "ABC|||", 1, 4},
    {"SecondEscEndsTheFirstSequence", "\x1b\x1b[", "[|||", 1, 2},
    // A control code inside a parameter is not a blank: the sequence ends there, swallowing
    // the code, and the rest prints.
    {"VerticalTabInsideAParameterDropsTheSequence", "\x1b[3\x0b;7H", ";7H|||", 1, 4},
    {"TabInsideAParameterDropsTheSequence", "\x1b[3\x09;7H", ";7H|||", 1, 4},
    {"LineFeedEndingAParameterDropsTheSequence", "\x1b[9;9\no", "o|||", 1, 2},
    {"CarriageReturnInsideAParameterDropsTheSequence", "AB\x1b[3\r;7H", "AB;7H|||", 1, 6},
};

enum class Kind { Model, Simulator };

std::unique_ptr<Vt100Screen> MakeScreen(Kind i_eKind) {
    if (i_eKind == Kind::Model) {
        return std::make_unique<ModelScreen>();
    }
    return std::make_unique<SimulatorScreen>();
}

// The screen text in the table's form.
QString Lines(const QString& i_sText) {
    QStringList lines;
    for (int row = 0; row < 4; ++row) {
        QString line = i_sText.mid(row * 20, 20);
        while (line.endsWith(u' ')) {
            line.chop(1);
        }
        lines << line;
    }
    return lines.join(u'|');
}

class Vt100Agreement : public ::testing::TestWithParam<std::tuple<Kind, Case>> {};

TEST_P(Vt100Agreement, ShowsTheScreenAndCursorOfTheTable) {
    const Kind kind = std::get<0>(GetParam());
    const Case& c = std::get<1>(GetParam());
    const std::unique_ptr<Vt100Screen> screen = MakeScreen(kind);
    screen->Feed(QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())));
    EXPECT_EQ(Lines(screen->Text()), QString::fromLatin1(c.screen));
    EXPECT_EQ(screen->CursorLine(), c.line);
    EXPECT_EQ(screen->CursorColumn(), c.column);
}

INSTANTIATE_TEST_SUITE_P(BothScreens, Vt100Agreement,
                         ::testing::Combine(::testing::Values(Kind::Model, Kind::Simulator),
                                            ::testing::ValuesIn(kCases)),
                         [](const ::testing::TestParamInfo<std::tuple<Kind, Case>>& i_info) {
                             const char* kind =
                                 std::get<0>(i_info.param) == Kind::Model ? "Model_" : "Simulator_";
                             return std::string(kind) + std::get<1>(i_info.param).name;
                         });

} // namespace
