#include "gui/monitor/LineMonitorModel.h"
#include "core/serial/LineTap.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A model over its own tap; each row read as "dir  bytes  meaning", a group as its meaning.
class MonitorModel : public ::testing::Test {
protected:
    void Publish() {
        for (; m_lTaken < m_tap.NextNumber(); ++m_lTaken) {
            m_model.Take(m_lTaken, m_tap.At(m_lTaken));
        }
        m_model.Publish();
    }

    QString Text(const QModelIndex& i_index) const {
        const auto column = [&](int c) {
            return m_model.index(i_index.row(), c, i_index.parent()).data().toString();
        };
        if (!i_index.parent().isValid()) {
            return column(LineMonitorModel::MeaningColumn);
        }
        QString text = column(LineMonitorModel::DirectionColumn) + QStringLiteral("  ");
        if (!column(LineMonitorModel::BytesColumn).isEmpty()) {
            text += column(LineMonitorModel::BytesColumn) + QStringLiteral("  ");
        }
        return text + column(LineMonitorModel::MeaningColumn);
    }

    // The groups and their rows, a group's rows indented by two spaces; "!" marks rows that
    // stand out.
    QStringList Shown() const {
        QStringList lines;
        for (int g = 0; g < m_model.rowCount({}); ++g) {
            const QModelIndex group = m_model.index(g, 0, {});
            lines << mark(group) + Text(group);
            for (int r = 0; r < m_model.rowCount(group); ++r) {
                const QModelIndex row = m_model.index(r, 0, group);
                lines << QStringLiteral("  ") + mark(row) + Text(row);
            }
        }
        return lines;
    }

    static QString mark(const QModelIndex& i_index) {
        return i_index.data(Qt::BackgroundRole).isValid() ? QStringLiteral("!") : QString();
    }

    LineTap m_tap;
    LineMonitorModel m_model;
    quint64 m_lTaken = 0;
};

} // namespace

TEST_F(MonitorModel, GroupsByCommandAndMarksNaksUnknownBytesAndFailedOpens) {
    m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("9600n,8,1"));
    m_tap.Written(QByteArray::fromHex("04014F3217"));
    m_tap.Read(QByteArray::fromHex("15"));
    m_tap.Closed();
    m_tap.OpenFailed(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("19200n,8,1"),
                     QStringLiteral("/dev/ttyUSB0: Permission denied"));
    m_tap.Context(LineContext::Display);
    m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("9600n,8,1"));
    m_tap.Written(QByteArray("HI\x00\xB2\xB2", 5));
    m_tap.Closed(QStringLiteral("/dev/pts/9: the device went away"));
    Publish();
    EXPECT_EQ(
        Shown(),
        QStringList({QStringLiteral("open /dev/pts/9 9600n,8,1 — show the saved message after "
                                    "reboot: 2 (not in the list)"),
                     QStringLiteral("  →  04 01 4F 32 17  show the saved message "
                                    "after reboot: 2 (not in the list)"),
                     QStringLiteral("  !←  15  NAK"), QStringLiteral("    close"),
                     QStringLiteral("!open failed: /dev/ttyUSB0: Permission denied"),
                     QStringLiteral("open /dev/pts/9 9600n,8,1 — text \"HI\""),
                     QStringLiteral("  →  48 49  text \"HI\""), QStringLiteral("  !→  00  unknown"),
                     QStringLiteral("  →  B2 B2  2 cells fully lit"),
                     QStringLiteral("  !  closed: /dev/pts/9: the device went away")}));
}

TEST_F(MonitorModel, FiltersHideTextGoodBlocksAndWhatTheSearchMisses) {
    const QByteArray data = QByteArray("abc") + QByteArray(125, '\x1A');
    m_tap.Context(LineContext::XModemCrc);
    m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("19200n,8,1"));
    m_tap.Written(QByteArray::fromHex("0101FE") + data + QByteArray::fromHex("1716"));
    m_tap.Read(QByteArray::fromHex("06"));
    m_tap.Written(QByteArray::fromHex("0102FD") + data + QByteArray::fromHex("1717"));
    m_tap.Read(QByteArray::fromHex("15"));
    m_tap.Closed();
    m_tap.Context(LineContext::Display);
    m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("19200n,8,1"));
    m_tap.Written(QByteArray("HELLO"));
    m_tap.Closed();
    Publish();

    LineFilter filter;
    filter.hideText = true;
    filter.hideBlocks = true;
    m_model.SetFilter(filter);
    EXPECT_EQ(Shown(),
              QStringList({QStringLiteral("open /dev/pts/9 19200n,8,1 — block 1, CRC right"),
                           QStringLiteral("  ←  06  ACK"),
                           QStringLiteral("  !→  ") +
                               QString::fromLatin1((QByteArray::fromHex("0102FD") + data +
                                                    QByteArray::fromHex("1717"))
                                                       .toHex(' ')
                                                       .toUpper()) +
                               QStringLiteral("  block 2, CRC wrong"),
                           QStringLiteral("  !←  15  NAK"), QStringLiteral("    close"),
                           QStringLiteral("open /dev/pts/9 19200n,8,1 — text \"HELLO\""),
                           QStringLiteral("    close")}));

    filter = LineFilter();
    filter.search = QStringLiteral("hello");
    m_model.SetFilter(filter);
    EXPECT_EQ(Shown(), QStringList({QStringLiteral("open /dev/pts/9 19200n,8,1 — text \"HELLO\""),
                                    QStringLiteral("  →  48 45 4C 4C 4F  text \"HELLO\"")}));
}

TEST_F(MonitorModel, TextStillComingInShowsAtOnceAndGrowsInPlace) {
    m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("19200n,8,1"));
    m_tap.Written(QByteArray("HE"));
    Publish();
    EXPECT_EQ(Shown(), QStringList({QStringLiteral("open /dev/pts/9 19200n,8,1"),
                                    QStringLiteral("  →  48 45  text \"HE\"")}));
    m_tap.Written(QByteArray("LLO"));
    m_tap.Closed();
    Publish();
    EXPECT_EQ(Shown(), QStringList({QStringLiteral("open /dev/pts/9 19200n,8,1 — text \"HELLO\""),
                                    QStringLiteral("  →  48 45 4C 4C 4F  text \"HELLO\""),
                                    QStringLiteral("    close")}));
}

TEST(MonitorBound, OneLongOpenKeepsTheNewestRowsWithinTheBound) {
    LineTap tap;
    LineMonitorModel model(nullptr, 1000);
    tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("9600n,8,1"));
    tap.Written(QByteArray("\x04\x01\x56\x17"));
    quint64 taken = 0;
    for (int i = 0; i < 20000; ++i) {
        tap.Read(i == 19999 ? QByteArray("V1.07") : QByteArray("\x06"));
        if (i % 100 == 99 || i == 19999) {
            for (; taken < tap.NextNumber(); ++taken) {
                model.Take(taken, tap.At(taken));
            }
            model.Publish();
        }
    }
    EXPECT_LE(model.Rows().RowCount(), 1000U);
    EXPECT_GE(model.Rows().RowCount(), 900U);
    EXPECT_EQ(model.Rows().RowCount() + model.Rows().DroppedRows(), 20000U);
    // One group, the open, still shown; its newest rows last.
    ASSERT_EQ(model.rowCount({}), 1);
    const QModelIndex group = model.index(0, 0, {});
    const int rows = model.rowCount(group);
    EXPECT_LE(rows, 1001);
    EXPECT_EQ(model.index(rows - 2, LineMonitorModel::BytesColumn, group).data().toString(), "06");
    EXPECT_EQ(model.index(rows - 1, LineMonitorModel::BytesColumn, group).data().toString(),
              "56 31 2E 30 37");
}
