#include "HeadlessPrinter.h"

#include "DisplayEmulator.h"

#include <algorithm>
#include <cstdio>

HeadlessPrinter::HeadlessPrinter(const DisplayEmulator& i_emulator, QObject* i_pParent)
    : QObject(i_pParent), m_emulator(i_emulator) {}

QString HeadlessPrinter::Render(const DisplayEmulator& i_emulator) {
    const QString edge =
        QStringLiteral("+") + QString(i_emulator.Columns(), QLatin1Char('-')) + QStringLiteral("+");
    QString text = edge + QLatin1Char('\n');
    for (int r = 0; r < i_emulator.Rows(); ++r) {
        text += QLatin1Char('|') + i_emulator.LineText(r) + QStringLiteral("|\n");
    }
    text += edge + QStringLiteral(" cursor %1,%2 %3\n")
                       .arg(i_emulator.CursorRow() + 1)
                       .arg(i_emulator.CursorColumn() + 1)
                       .arg(i_emulator.ModeName());
    return text;
}

void HeadlessPrinter::Refresh() {
    // Entries are printed once they have ended (a message typed key by key still grows).
    const ByteLog& log = m_emulator.Journal();
    const QVector<LogEntry>& entries = log.Entries();
    const auto fresh = static_cast<int>(
        std::min<quint64>(log.Total() - m_lLogPrinted, static_cast<quint64>(entries.size())));
    for (int i = static_cast<int>(entries.size()) - fresh; i < entries.size(); ++i) {
        std::fprintf(stderr, "%s\n", entries[i].ToString().toUtf8().constData());
    }
    m_lLogPrinted = log.Total();
    const QString screen = Render(m_emulator);
    if (screen != m_sLast) {
        m_sLast = screen;
        std::fputs(screen.toUtf8().constData(), stdout);
        std::fflush(stdout);
    }
}
