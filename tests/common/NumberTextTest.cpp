#include "core/common/NumberText.h"
#include "core/common/LumoError.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using NumberText::LeadingNumber;
using NumberText::ReadInt16;
using NumberText::RoundHalfEven;
using NumberText::ToInt16;
using NumberText::WholeNumber;

TEST(NumberText, LeadingNumberReadsTheNumberAtTheStart) {
    const std::pair<const char*, double> cases[] = {
        {"12", 12},        {"  12", 12},  {"\t7", 7},
        {"+5", 5},         {"-3", -3},    {"2.5", 2.5},
        {"-0.25", -0.25},  {".5", 0.5},   {"-.5", -0.5},
        {"3.", 3},         {"12abc", 12}, {"12.5.7", 12.5},
        {"1 2", 12},       {"- 4", -4},   {"1e3", 1},
        {"12,5", 12},      {"007", 7},    {"19200n,8,1", 19200},
        {"  4800 ", 4800},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(LeadingNumber(text), value) << '"' << text << '"';
    }
}

TEST(NumberText, TextThatDoesNotStartWithANumberIsZero) {
    for (const char* text : {"abc", "", " ", "-", "+", ".", "-.", "x12", "&H10", "n,8,1"}) {
        EXPECT_EQ(LeadingNumber(text), 0.0) << '"' << text << '"';
    }
    EXPECT_EQ(LeadingNumber(QString::fromUtf16(u"１２")), 0.0); // full-width digits
}

TEST(NumberText, RoundingSendsHalvesToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {2.5, 2},   {3.5, 4},   {0.5, 0},    {1.5, 2},     {-2.5, -2},
        {-3.5, -4}, {-0.5, 0},  {2.4999, 2}, {2.5001, 3},  {-2.6, -3},
        {7, 7},     {50.5, 50}, {51.5, 52},  {255.5, 256}, {-1.5, -2},
    };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
}

TEST(NumberText, StoredIndexesAreReadAsRoundedSixteenBitIntegers) {
    const std::pair<const char*, qint16> cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"0", 0},
        {"12", 12},
        {"-1", -1},
        {"abc", 0},
        {"", 0},
        {" 5 ", 5},
        {"32767", 32767},
        {"-32768", -32768},
        {"32767.4", 32767},
        {"-32768.5", -32768},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ReadInt16(text), value) << '"' << text << '"';
    }
}

TEST(NumberText, ValuesOutsideSixteenBitsOverflowWithErrorSix) {
    for (const char* text : {"99999", "-32769", "32768", "32767.5", "-32769.5"}) {
        SCOPED_TRACE(text);
        try {
            ReadInt16(text);
            ADD_FAILURE() << "no overflow";
        } catch (const LumoError& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), "Overflow");
        }
    }
    for (const double value : {1e10, -1e10, std::nan(""), double(INFINITY)}) {
        EXPECT_THROW(ToInt16(value), LumoError) << value;
    }
}

TEST(NumberText, ARunOfDigitsTooLongForADoubleOverflowsInsteadOfReadingZero) {
    const QString huge = QStringLiteral("1") + QString(400, QLatin1Char('0'));
    EXPECT_TRUE(std::isinf(LeadingNumber(huge)));
    EXPECT_THROW(ReadInt16(huge), LumoError);
    EXPECT_THROW(ReadInt16(QStringLiteral("-") + huge), LumoError);
}

TEST(NumberText, WholeNumberAcceptsOnlyTextThatIsANumberThroughout) {
    const std::pair<const char*, double> numbers[] = {
        {"12", 12},  {"-1", -1}, {"+3", 3},      {"2.5", 2.5}, {"2.", 2},
        {".5", 0.5}, {" 7 ", 7}, {"\t40\t", 40}, {"0", 0},     {"-0.75", -0.75},
    };
    for (const auto& [text, value] : numbers) {
        const std::optional<double> got = WholeNumber(text);
        ASSERT_TRUE(got.has_value()) << '"' << text << '"';
        EXPECT_EQ(*got, value) << '"' << text << '"';
    }
    for (const char* text :
         {"1;2", "5A", "-", "", " ", ".", "1 2", "- 1", "2.5.1", "abc", "0x10", "1e3", "12,5"}) {
        EXPECT_FALSE(WholeNumber(text).has_value()) << '"' << text << '"';
    }
}

} // namespace
