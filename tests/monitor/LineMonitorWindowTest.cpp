#include "e2e/E2EFixture.h"
#include "gui/monitor/LineMonitorModel.h"
#include "gui/monitor/frmLineMonitor.h"
#include "support/ModalWatcher.h"

#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

// The program with a simulated display on COM1 and the line monitor opened from the Setting
// tab, over a record that starts empty.
class LineMonitorWindow : public E2EFixture {
protected:
    void SetUp() override {
        E2EFixture::SetUp();
        LineTap::Shared().Clear();
        Start();
        Press(QStringLiteral("cmdLineMonitor"));
        m_pMonitor = FindChild<frmLineMonitor>(Window(), QStringLiteral("frmLineMonitor"));
        ASSERT_NE(m_pMonitor, nullptr);
    }

    // Sets international code 4 from the native tab, as the technician does.
    void SetInternationalCode() {
        Combo(QStringLiteral("cboInternationalCode"))->setCurrentIndex(4);
        Press(QStringLiteral("cmdVELT(1)"));
        EXPECT_EQ(Status(), QStringLiteral("OK"));
    }

    // What the monitor's table shows of the newest command: its line, then each row as
    // "dir  bytes  meaning".
    QStringList NewestCommand() const {
        const QAbstractItemModel* model = m_pMonitor->lvwLine->model();
        const int groups = model->rowCount({});
        if (groups == 0) {
            return {};
        }
        const QModelIndex group = model->index(groups - 1, 0, {});
        const auto cell = [model](const QModelIndex& i_row, int i_iColumn) {
            return model->index(i_row.row(), i_iColumn, i_row.parent()).data().toString();
        };
        QStringList lines{cell(group, LineMonitorModel::MeaningColumn)};
        for (int r = 0; r < model->rowCount(group); ++r) {
            const QModelIndex row = model->index(r, 0, group);
            lines << cell(row, LineMonitorModel::DirectionColumn) + QStringLiteral("  ") +
                         cell(row, LineMonitorModel::BytesColumn) + QStringLiteral("  ") +
                         cell(row, LineMonitorModel::MeaningColumn);
        }
        return lines;
    }

    bool ShowsClose() const {
        return QTest::qWaitFor(
            [this] { return NewestCommand().value(3) == QStringLiteral("    close"); }, 3000);
    }

    frmLineMonitor* m_pMonitor = nullptr;
};

} // namespace

TEST_F(LineMonitorWindow, ShowsTheFrameAndItsAckWhileTheProgramTalksToTheDisplay) {
    EXPECT_TRUE(m_pMonitor->isVisible());
    EXPECT_TRUE(m_pMonitor->isWindow());
    SetInternationalCode();
    ASSERT_TRUE(ShowsClose()) << NewestCommand().join(QLatin1Char('\n')).toStdString();
    const QStringList rows = NewestCommand();
    EXPECT_TRUE(
        rows[0].startsWith(QStringLiteral("open ") + m_pDisplay->SlavePath() + QLatin1Char(' ')))
        << rows[0].toStdString();
    EXPECT_EQ(rows.mid(1),
              QStringList({QStringLiteral("→  04 01 49 34 17  set international code 4: Denmark I"),
                           QStringLiteral("←  06  ACK"), QStringLiteral("    close")}));
    const QModelIndex group = m_pMonitor->lvwLine->model()->index(0, 0, {});
    EXPECT_TRUE(m_pMonitor->lvwLine->isExpanded(group));
    // The monitor runs no command: the main window takes the next one.
    ExpectUsable();
}

TEST_F(LineMonitorWindow, SaveWritesOneLinePerEventWithTimeDirectionHexAndMeaning) {
    SetInternationalCode();
    ASSERT_TRUE(ShowsClose());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("line.log"));
    ModalWatcher watcher;
    watcher.onOtherModal = [&path](QWidget* i_pModal) {
        if (auto* files = qobject_cast<QFileDialog*>(i_pModal)) {
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QMetaObject::invokeMethod(files, "accept");
        }
    };
    m_pMonitor->cmdSave->click();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5); // four events and the end of the last line
    const QRegularExpression time(QStringLiteral("^ *\\d+\\.\\d{6}$"));
    for (const QString& line : lines.mid(0, 4)) {
        EXPECT_TRUE(time.match(line.left(12)).hasMatch()) << line.toStdString();
    }
    EXPECT_EQ(lines[0].mid(12), QStringLiteral("     open ") + m_pDisplay->SlavePath() +
                                    QLatin1Char(' ') + Window().m_lumo().BaudRate() +
                                    Window().m_lumo().Parity() +
                                    QStringLiteral(" — set international code 4: Denmark I"));
    EXPECT_EQ(lines[1].mid(12),
              QStringLiteral("  →  04 01 49 34 17  set international code 4: Denmark I"));
    EXPECT_EQ(lines[2].mid(12), QStringLiteral("  ←  06  ACK"));
    EXPECT_EQ(lines[3].mid(12), QStringLiteral("     close"));
    EXPECT_EQ(lines[4], QString());
}
