// The sender's bytes, without a port.
#include "core/transfer/XModemAnswer.h"
#include "core/transfer/XModemBlock.h"
#include "support/FakeComm.h"

#include <gtest/gtest.h>

namespace {

using XModemAnswer::Classify;
using XModemAnswer::Meaning;

TEST(XModemBytes, TrailersOfTheThreeByteBlock) {
    const QByteArray data = XModemBlock::Padded("abc");
    EXPECT_EQ(data.size(), 128);
    EXPECT_EQ(Hex(XModemBlock::Trailer(data, 0)), "D8");
    EXPECT_EQ(Hex(XModemBlock::Trailer(data, 1)), "17 16");
    EXPECT_EQ(Hex(XModemBlock::Trailer(data, 7)), "D8");
    EXPECT_EQ(Hex(XModemBlock::Trailer(QByteArray(128, '\0'), 1)), "00 00");
    EXPECT_EQ(Hex(XModemBlock::Trailer(QByteArray(128, '\xFF'), 0)), "80");
}

TEST(XModemBytes, Headers) {
    EXPECT_EQ(Hex(XModemBlock::Header(1)), "01 01 FE");
    EXPECT_EQ(Hex(XModemBlock::Header(255)), "01 FF 00");
    EXPECT_EQ(Hex(XModemBlock::Header(256)), "01 00 FF");
    EXPECT_EQ(Hex(XModemBlock::Header(513)), "01 01 FE");
}

TEST(XModemBytes, StartRequests) {
    EXPECT_EQ(XModemBlock::StartRequest(0), '\x15');
    EXPECT_EQ(XModemBlock::StartRequest(1), 'C');
    EXPECT_FALSE(XModemBlock::StartRequest(2).has_value());
    EXPECT_FALSE(XModemBlock::StartRequest(-1).has_value());
}

TEST(XModemBytes, ProgressRoundsHalfToEven) {
    QList<qint16> values;
    for (int i = 1; i <= 8; ++i) {
        values << XModemBlock::ProgressAfter(i, 8);
    }
    EXPECT_EQ(values, (QList<qint16>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(XModemBlock::ProgressAfter(1, 3), 33);
    EXPECT_EQ(XModemBlock::ProgressAfter(2, 3), 67);
}

TEST(XModemBytes, AnswerMeanings) {
    EXPECT_EQ(Classify("\x06"), Meaning::Accepted);
    EXPECT_EQ(Classify("\x06\x18"), Meaning::Accepted);
    EXPECT_EQ(Classify("\x41\x06"), Meaning::Accepted);
    EXPECT_EQ(Classify("\x18\x06"), Meaning::Cancelled);
    EXPECT_EQ(Classify("C\x06"), Meaning::Ignored);
    EXPECT_EQ(Classify("\x15\x18"), Meaning::Rejected);
    EXPECT_EQ(Classify("\x15"), Meaning::Rejected);
    EXPECT_EQ(Classify("xyz"), Meaning::Rejected);
}

} // namespace
