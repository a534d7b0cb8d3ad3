#include "gui/monitor/frmLineMonitor.h"

#include "core/common/AppInfo.h"
#include "core/common/Prompt.h"
#include "gui/monitor/LineMonitorModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QTextStream>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// At most 30 batches, and so repaints, a second.
constexpr int kBatchMs = 33;
// Events taken in one batch; a longer backlog (a full record when the window opens) is taken
// over the following batches, so that the window stays responsive meanwhile.
constexpr quint64 kBatchEvents = 40000;
} // namespace

frmLineMonitor::frmLineMonitor(LineTap& io_tap, QWidget* i_pParent)
    : QWidget(i_pParent, Qt::Window), m_tap(io_tap), m_pModel(new LineMonitorModel(this)) {
    setObjectName(QStringLiteral("frmLineMonitor"));
    setWindowTitle(tr("Line Monitor"));
    buildControls();
    m_pModel->SetClockStart(m_tap.ClockTime(0));

    m_batch.setSingleShot(true);
    m_batch.setInterval(kBatchMs);
    connect(&m_batch, &QTimer::timeout, this, [this] { TakeNewEvents(); });
    m_lNext = m_tap.FirstNumber();
    m_tap.AddListener(this);
    m_batch.start();
    resize(900, 560);
}

frmLineMonitor::~frmLineMonitor() {
    m_tap.RemoveListener(this);
}

void frmLineMonitor::buildControls() {
    const auto button = [this](const QString& i_sName, const QString& i_sCaption) {
        auto* b = new QPushButton(i_sCaption, this);
        b->setObjectName(i_sName);
        return b;
    };
    const auto check = [this](const QString& i_sName, const QString& i_sCaption) {
        auto* c = new QCheckBox(i_sCaption, this);
        c->setObjectName(i_sName);
        return c;
    };
    cmdPause = button(QStringLiteral("cmdPause"), tr("Pause"));
    cmdPause->setCheckable(true);
    cmdClear = button(QStringLiteral("cmdClear"), tr("Clear"));
    cmdCopy = button(QStringLiteral("cmdCopy"), tr("Copy"));
    cmdSave = button(QStringLiteral("cmdSave"), tr("Save…"));
    chkFollow = check(QStringLiteral("chkFollow"), tr("Follow newest"));
    chkFollow->setChecked(true);
    chkHideText = check(QStringLiteral("chkHideText"), tr("Hide plain text"));
    chkHideBlocks = check(QStringLiteral("chkHideBlocks"), tr("Hide XModem blocks"));
    chkHideBlocks->setToolTip(tr("Hides the blocks whose number and check are right"));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(tr("Search bytes or meaning"));
    txtSearch->setClearButtonEnabled(true);
    cboTime = new QComboBox(this);
    cboTime->setObjectName(QStringLiteral("cboTime"));
    cboTime->addItems({tr("Time since the first event"), tr("Clock time")});

    lvwLine = new QTreeView(this);
    lvwLine->setObjectName(QStringLiteral("lvwLine"));
    lvwLine->setModel(m_pModel);
    lvwLine->setUniformRowHeights(true);
    lvwLine->setAlternatingRowColors(true);
    lvwLine->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwLine->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwLine->setTextElideMode(Qt::ElideMiddle);
    lvwLine->header()->setStretchLastSection(true);
    lvwLine->setColumnWidth(LineMonitorModel::TimeColumn, 150);
    lvwLine->setColumnWidth(LineMonitorModel::DirectionColumn, 40);
    lvwLine->setColumnWidth(LineMonitorModel::BytesColumn, 260);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* top = new QHBoxLayout;
    top->addWidget(cmdPause);
    top->addWidget(cmdClear);
    top->addWidget(chkFollow);
    top->addSpacing(12);
    top->addWidget(chkHideText);
    top->addWidget(chkHideBlocks);
    top->addWidget(txtSearch, 1);
    top->addWidget(cboTime);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(cmdCopy);
    bottom->addWidget(cmdSave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lvwLine, 1);
    layout->addLayout(bottom);

    connect(cmdPause, &QPushButton::toggled, this, [this](bool on) { cmdPause_Toggled(on); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(chkHideText, &QCheckBox::toggled, this, [this] { applyFilter(); });
    connect(chkHideBlocks, &QCheckBox::toggled, this, [this] { applyFilter(); });
    // A search over a full record takes a moment: it waits for a pause in the typing.
    m_searchDelay.setSingleShot(true);
    m_searchDelay.setInterval(250);
    connect(&m_searchDelay, &QTimer::timeout, this, [this] { applyFilter(); });
    connect(txtSearch, &QLineEdit::textChanged, &m_searchDelay, qOverload<>(&QTimer::start));
    connect(cboTime, &QComboBox::currentIndexChanged, this, [this](int i_iIndex) {
        m_pModel->SetClockTime(i_iIndex == 1);
        lvwLine->viewport()->update();
    });
    connect(chkFollow, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            lvwLine->scrollToBottom();
        }
    });
    auto* copy = new QShortcut(QKeySequence::Copy, lvwLine);
    connect(copy, &QShortcut::activated, this, [this] { cmdCopy_Click(); });
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& i_parent, int i_iFirst, int i_iLast) {
                if (!i_parent.isValid()) {
                    expandInserted(i_iFirst, i_iLast);
                }
            });
    connect(m_pModel, &QAbstractItemModel::modelReset, lvwLine, &QTreeView::expandAll);
}

// --- Following the tap ------------------------------------------------------------------------

void frmLineMonitor::TapRecorded(const TapEvent&) {
    // Only a note: the events are taken from the ring by the next batch.
    if (!m_batch.isActive()) {
        m_batch.start();
    }
}

void frmLineMonitor::TapCleared() {
    m_pModel->Clear();
    m_lNext = m_tap.NextNumber();
    m_lMissed = 0;
    showStatus();
}

void frmLineMonitor::TakeNewEvents() {
    if (cmdPause->isChecked()) {
        showStatus(); // how many wait
        return;
    }
    if (m_lNext < m_tap.FirstNumber()) {
        m_lMissed += m_tap.FirstNumber() - m_lNext;
        m_lNext = m_tap.FirstNumber();
    }
    const quint64 end = std::min(m_tap.NextNumber(), m_lNext + kBatchEvents);
    for (; m_lNext < end; ++m_lNext) {
        m_pModel->Take(m_lNext, m_tap.At(m_lNext));
    }
    m_pModel->Publish();
    if (m_lNext < m_tap.NextNumber()) {
        m_batch.start();
    }
    if (chkFollow->isChecked()) {
        lvwLine->scrollToBottom();
    }
    showStatus();
}

void frmLineMonitor::expandInserted(int i_iFirst, int i_iLast) {
    if (i_iLast - i_iFirst > 64) {
        lvwLine->expandAll();
        return;
    }
    for (int row = i_iFirst; row <= i_iLast; ++row) {
        lvwLine->expand(m_pModel->index(row, 0, {}));
    }
}

void frmLineMonitor::showStatus() {
    const quint64 waiting = m_tap.NextNumber() - m_lNext;
    QString text = tr("%1 rows in %2 commands")
                       .arg(m_pModel->Rows().RowCount())
                       .arg(m_pModel->Rows().Groups().size());
    const quint64 dropped = m_lMissed + m_pModel->Rows().DroppedRows();
    if (dropped > 0) {
        text += tr(", %1 older events dropped").arg(dropped);
    }
    if (cmdPause->isChecked() && waiting > 0) {
        text += tr(", paused: %1 new events waiting").arg(waiting);
    }
    lblStatus->setText(text);
}

// --- Buttons ----------------------------------------------------------------------------------

void frmLineMonitor::cmdPause_Toggled(bool i_blnPaused) {
    cmdPause->setText(i_blnPaused ? tr("Resume") : tr("Pause"));
    TakeNewEvents();
}

void frmLineMonitor::cmdClear_Click() {
    m_tap.Clear(); // the window hears it through TapCleared
}

void frmLineMonitor::applyFilter() {
    LineFilter filter;
    filter.hideText = chkHideText->isChecked();
    filter.hideBlocks = chkHideBlocks->isChecked();
    filter.search = txtSearch->text().trimmed();
    m_pModel->SetFilter(filter);
    if (chkFollow->isChecked()) {
        lvwLine->scrollToBottom();
    }
}

void frmLineMonitor::cmdCopy_Click() {
    const QStringList lines = m_pModel->LogLines(lvwLine->selectionModel()->selectedRows());
    if (!lines.isEmpty()) {
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

void frmLineMonitor::cmdSave_Click() {
    QFileDialog dialog(this, tr("Save the line log"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({tr("Line logs (*.log)"), tr("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.selectFile(
        QStringLiteral("line-%1.log")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    if (!SaveTo(path)) {
        Prompt::Current().Show(Prompt::Icon::Error, AppInfo::Name(),
                               tr("The log cannot be written to %1.").arg(path));
    }
}

bool frmLineMonitor::SaveTo(const QString& i_sPath) {
    QSaveFile file(i_sPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString& line : m_pModel->AllLogLines()) {
        out << line << '\n';
    }
    out.flush();
    return file.commit();
}
