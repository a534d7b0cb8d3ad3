#include "core/serial/LineTap.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct Counter : LineTapListener {
    void TapRecorded(const TapEvent& i_event) override { seen += i_event.data; }
    void TapCleared() override { ++clears; }
    QByteArray seen;
    int clears = 0;
};

} // namespace

TEST(LineTap, KeepsTheNewest200000EventsAndCountsTheOlderOnesAsDropped) {
    LineTap tap;
    for (int i = 0; i < 200005; ++i) {
        tap.Written(QByteArray::number(i));
    }
    EXPECT_EQ(tap.Size(), 200000);
    EXPECT_EQ(tap.Dropped(), 5u);
    EXPECT_EQ(tap.FirstNumber(), 5u);
    EXPECT_EQ(tap.NextNumber(), 200005u);
    EXPECT_EQ(tap.At(5).data, QByteArray("5"));
    EXPECT_EQ(tap.At(200004).data, QByteArray("200004"));

    tap.Read(QByteArray("\x06", 1));
    EXPECT_EQ(tap.Dropped(), 6u);
    EXPECT_EQ(tap.At(200005).kind, TapEvent::Kind::Read);

    tap.Clear();
    EXPECT_EQ(tap.Size(), 0);
    EXPECT_EQ(tap.Dropped(), 0u);
    tap.Closed();
    EXPECT_EQ(tap.FirstNumber(), 200006u); // numbers go on
}

TEST(LineTap, LongWritesArePiecesOfAtMost128BytesWithOneTime) {
    LineTap tap;
    tap.Written(QByteArray(300, 'x'));
    ASSERT_EQ(tap.Size(), 3);
    EXPECT_EQ(tap.At(0).data.size(), 128);
    EXPECT_EQ(tap.At(1).data.size(), 128);
    EXPECT_EQ(tap.At(2).data.size(), 44);
    EXPECT_EQ(tap.At(2).usec, tap.At(0).usec);
}

TEST(LineTap, OpensFailuresAndClosesKeepTheirTexts) {
    LineTap tap;
    tap.Opened(QStringLiteral("/dev/pts/7"), QStringLiteral("19200n,8,1"));
    tap.OpenFailed(QStringLiteral("/dev/ttyUSB3"), QStringLiteral("9600e,7,1"),
                   QStringLiteral("/dev/ttyUSB3: No such file or directory"));
    tap.Closed(QStringLiteral("/dev/pts/7: the peer hung up"));
    EXPECT_EQ(tap.At(0).Path(), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(tap.At(0).Settings(), QStringLiteral("19200n,8,1"));
    EXPECT_EQ(tap.At(1).kind, TapEvent::Kind::OpenFailed);
    EXPECT_EQ(tap.At(1).Settings(), QStringLiteral("9600e,7,1"));
    EXPECT_EQ(tap.At(1).Reason(), QStringLiteral("/dev/ttyUSB3: No such file or directory"));
    EXPECT_EQ(tap.At(2).Reason(), QStringLiteral("/dev/pts/7: the peer hung up"));
}

TEST(LineTap, TextsOfAnyLengthAreCutTo128BytesInAll) {
    LineTap tap;
    tap.OpenFailed(QStringLiteral("/dev/serial/by-id/") + QString(10000, QLatin1Char('x')),
                   QStringLiteral("9600e,7,1"), QString(100000, QLatin1Char('r')));
    tap.Closed(QString(5000, QChar(0xE9))); // two bytes each: cut before a whole one
    tap.Opened(QStringLiteral("/dev/pts/7"), QString(300, QLatin1Char('s')));
    EXPECT_EQ(tap.At(0).data.size(), 128);
    EXPECT_EQ(tap.At(0).Path(),
              QStringLiteral("/dev/serial/by-id/") + QString(37, QLatin1Char('x')) + u'\u2026');
    EXPECT_EQ(tap.At(0).Settings(), QStringLiteral("9600e,7,1"));
    EXPECT_EQ(tap.At(0).Reason(), QString(56, QLatin1Char('r')) + u'\u2026');
    EXPECT_EQ(tap.At(1).data.size(), 127);
    EXPECT_EQ(tap.At(1).Reason(), QString(62, QChar(0xE9)) + u'\u2026');
    EXPECT_EQ(tap.At(2).Path(), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(tap.At(2).Settings(), QString(114, QLatin1Char('s')) + u'\u2026');
}

TEST(LineTap, ListenersHearEveryEventUntilTheyLeave) {
    LineTap tap;
    Counter counter;
    tap.AddListener(&counter);
    tap.Written(QByteArray("\x04\x01", 2));
    tap.Read(QByteArray("\x06", 1));
    tap.Clear();
    tap.RemoveListener(&counter);
    tap.Written(QByteArray("lost"));
    EXPECT_EQ(counter.seen, QByteArray("\x04\x01\x06", 3));
    EXPECT_EQ(counter.clears, 1);
}
