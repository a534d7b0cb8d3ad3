#include "core/serial/LineTap.h"
#include "gui/monitor/LineMonitorModel.h"
#include "gui/monitor/frmLineMonitor.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// The window over a tap of its own, fed by the test.
class MonitorControls : public ::testing::Test {
protected:
    void Command(const char* i_sFrameHex) {
        m_tap.Opened(QStringLiteral("/dev/pts/9"), QStringLiteral("19200n,8,1"));
        m_tap.Written(QByteArray::fromHex(i_sFrameHex));
        m_tap.Read(QByteArray::fromHex("06"));
        m_tap.Closed();
    }

    int Groups() const { return m_window.lvwLine->model()->rowCount({}); }

    // Waits for the batches of events to reach the table.
    bool ShowsGroups(int i_iCount) const {
        return QTest::qWaitFor([this, i_iCount] { return Groups() == i_iCount; }, 2000);
    }

    LineTap m_tap;
    frmLineMonitor m_window{m_tap};
};

} // namespace

TEST_F(MonitorControls, PauseHoldsNewEventsBackUntilResumedAndClearEmptiesTheRecord) {
    m_window.show();
    Command("0401493417");
    ASSERT_TRUE(ShowsGroups(1));

    m_window.cmdPause->click();
    Command("0401503C17");
    QTest::qWait(150);
    EXPECT_EQ(Groups(), 1);
    EXPECT_TRUE(m_window.lblStatus->text().endsWith(QStringLiteral("paused: 4 new events waiting")))
        << m_window.lblStatus->text().toStdString();
    m_window.cmdPause->click();
    EXPECT_TRUE(ShowsGroups(2));

    m_window.cmdClear->click();
    EXPECT_EQ(m_tap.Size(), 0);
    EXPECT_EQ(Groups(), 0);
    Command("0401493417");
    EXPECT_TRUE(ShowsGroups(1));
}

TEST_F(MonitorControls, CopyPutsTheSelectedRowsOnTheClipboardAsLogLines) {
    m_window.show();
    Command("0401493417");
    ASSERT_TRUE(ShowsGroups(1));
    QTreeView* view = m_window.lvwLine;
    const QModelIndex group = view->model()->index(0, 0, {});
    view->selectionModel()->select(view->model()->index(1, 0, group),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_window.cmdCopy->click();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].mid(12), QStringLiteral("  ←  06  ACK"));
    EXPECT_EQ(lines[1], QString());
}
