#include "DisplayWindow.h"

#include "DisplayCharset.h"
#include "DotMatrixView.h"
#include "PtyDisplay.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString writeModeName(DisplayState::WriteMode i_mode) {
    switch (i_mode) {
    case DisplayState::WriteMode::OverWrite:
        return QStringLiteral("over-write");
    case DisplayState::WriteMode::VerticalScroll:
        return QStringLiteral("vertical scroll");
    case DisplayState::WriteMode::HorizontalScroll:
        return QStringLiteral("horizontal scroll");
    }
    return {};
}

QString peripheralName(DisplayState::Peripheral i_peripheral) {
    switch (i_peripheral) {
    case DisplayState::Peripheral::AuxDevice:
        return QStringLiteral("aux device");
    case DisplayState::Peripheral::Display:
        return QStringLiteral("display");
    case DisplayState::Peripheral::Both:
        return QStringLiteral("both");
    }
    return {};
}

QPlainTextEdit* journal(const QString& i_sPlaceholder) {
    auto* edit = new QPlainTextEdit;
    edit->setReadOnly(true);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setPlaceholderText(i_sPlaceholder);
    edit->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: #101617; color: #b8d8d0; border: 1px solid #2a3a3a; }"));
    return edit;
}
} // namespace

DisplayWindow::DisplayWindow(PtyDisplay& io_display, QWidget* i_pParent)
    : QWidget(i_pParent), m_display(io_display), m_pView(new DotMatrixView(io_display.Emulator())),
      m_pStatus(new QLabel), m_pPort(new QLabel),
      m_pLog(journal(tr("Bytes received from the line appear here"))),
      m_pAux(journal(tr("Aux device (printer) output"))) {
    setWindowTitle(tr("LumoQ4 display simulator - %1").arg(io_display.SlavePath()));
    setStyleSheet(
        QStringLiteral("DisplayWindow { background: #1b1f22; } QLabel { color: #c8d4d0; }"));

    // The housing: a matte black bezel around the glass.
    auto* bezel = new QFrame;
    bezel->setObjectName(QStringLiteral("bezel"));
    bezel->setStyleSheet(QStringLiteral(
        "#bezel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2e3236,"
        " stop:1 #15181a); border: 1px solid #444a4f; border-radius: 14px; }"));
    auto* bezelLayout = new QVBoxLayout(bezel);
    bezelLayout->setContentsMargins(18, 18, 18, 12);
    bezelLayout->addWidget(m_pView, 0, Qt::AlignCenter);
    auto* badge = new QLabel(QStringLiteral("LumoQ4"));
    badge->setStyleSheet(QStringLiteral("color: #7d878c; font-weight: bold; letter-spacing: 3px;"));
    bezelLayout->addWidget(badge, 0, Qt::AlignRight);

    m_pPort->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pStatus->setWordWrap(true);

    auto* journals = new QSplitter(Qt::Horizontal);
    auto* logBox = new QWidget;
    auto* logLayout = new QVBoxLayout(logBox);
    logLayout->setContentsMargins(0, 0, 0, 0);
    logLayout->addWidget(new QLabel(tr("Received bytes and their meaning")));
    logLayout->addWidget(m_pLog);
    auto* auxBox = new QWidget;
    auto* auxLayout = new QVBoxLayout(auxBox);
    auxLayout->setContentsMargins(0, 0, 0, 0);
    auxLayout->addWidget(new QLabel(tr("Aux device pass-through")));
    auxLayout->addWidget(m_pAux);
    journals->addWidget(logBox);
    journals->addWidget(auxBox);
    journals->setStretchFactor(0, 3);
    journals->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(bezel);
    layout->addWidget(m_pPort);
    layout->addWidget(m_pStatus);
    layout->addWidget(journals, 1);
    resize(920, 640);
    Refresh();
}

QString DisplayWindow::statusText() const {
    const DisplayEmulator& e = m_display.Emulator();
    const DisplayState& s = e.State();
    QStringList parts;
    parts << tr("Mode: %1").arg(e.ModeName());
    parts << tr("cursor line %1, column %2%3")
                 .arg(e.CursorRow() + 1)
                 .arg(e.CursorColumn() + 1)
                 .arg(e.CursorVisible() ? QString() : tr(" (hidden)"));
    if (e.CurrentMode() == DisplayEmulator::Mode::Vt100) {
        parts << tr("brightness %1%").arg(100 - 25 * s.brightness);
        parts << tr("country %1").arg(s.countryCode);
    } else {
        parts << tr("baud code %1, parity %2")
                     .arg(QLatin1Char(s.baudCode))
                     .arg(QLatin1Char(s.parityCode));
        parts << tr("international set %1").arg(s.internationalSet);
        parts << tr("code table %1").arg(s.codeTable);
        parts << writeModeName(s.writeMode);
        parts << tr("output to %1").arg(peripheralName(s.peripheral));
        if (s.blinkInterval > 0) {
            parts << tr("blink %1").arg(s.blinkInterval);
        }
        if (s.demoLayers > 0) {
            parts << tr("demo layer %1 mode %2").arg(s.demoLayers).arg(s.demoMode);
        }
        parts << tr("start-up %1").arg(s.startupMode == 0 ? tr("stay") : tr("running"));
    }
    if (e.Reboots() > 0 || !e.ReceivedImage().isEmpty()) {
        parts << tr("image %1 bytes%2, %3 reboot(s)")
                     .arg(e.ReceivedImage().size())
                     .arg(e.ImageComplete() ? tr(" complete") : QString())
                     .arg(e.Reboots());
    }
    if (m_display.HungUp()) {
        parts << tr("LINE CLOSED");
    }
    return parts.join(QStringLiteral("  |  "));
}

void DisplayWindow::appendJournal() {
    // The lines of entries under way are drawn again: a message typed key by key grows.
    const int keep = m_pLog->document()->blockCount() - m_iPendingShown;
    if (m_iPendingShown > 0 && keep <= 0) {
        m_pLog->clear();
    } else if (m_iPendingShown > 0) {
        QTextCursor cursor(m_pLog->document()->findBlockByNumber(keep - 1));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    const ByteLog& log = m_display.Emulator().Journal();
    const QVector<LogEntry>& entries = log.Entries();
    const auto fresh = static_cast<int>(
        std::min<quint64>(log.Total() - m_lLogShown, static_cast<quint64>(entries.size())));
    for (int i = static_cast<int>(entries.size()) - fresh; i < entries.size(); ++i) {
        m_pLog->appendPlainText(entries[i].ToString());
    }
    m_lLogShown = log.Total();
    const QVector<LogEntry> pending = log.Pending();
    for (const LogEntry& entry : pending) {
        m_pLog->appendPlainText(entry.ToString());
    }
    m_iPendingShown = static_cast<int>(pending.size());
}

QString DisplayWindow::lineText() const {
    const int speed = m_display.LineSpeed();
    QString text = tr("Line: %1  |  ").arg(m_display.SlavePath());
    text += speed > 0 ? tr("%1 baud").arg(speed) : tr("any speed (follows the program)");
    const int program = m_display.ProgramSpeed();
    if (speed > 0 && program > 0 && program != speed) {
        text += tr("  |  the program's side is at %1 baud: what arrives is garbled").arg(program);
    }
    return text;
}

void DisplayWindow::Refresh() {
    const DisplayEmulator& e = m_display.Emulator();
    appendJournal();
    const QByteArray aux = e.PassThrough();
    if (aux.size() > m_iAuxShown) {
        m_pAux->moveCursor(QTextCursor::End);
        m_pAux->insertPlainText(DisplayCharset::Printable(aux.mid(m_iAuxShown)));
        m_iAuxShown = static_cast<int>(aux.size());
    }
    m_pStatus->setText(statusText());
    m_pPort->setText(lineText());
    m_pView->update();
}
