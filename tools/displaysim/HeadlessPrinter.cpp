#include "HeadlessPrinter.h"

#include "DisplayEmulator.h"

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
    const auto& log = m_emulator.Log();
    if (m_iLogPrinted > log.size()) {
        m_iLogPrinted = 0;
    }
    // The last line may still grow (merged text); it is printed once it is complete.
    for (; m_iLogPrinted + 1 < log.size(); ++m_iLogPrinted) {
        std::fprintf(stderr, "%s\n", log[m_iLogPrinted].ToString().toUtf8().constData());
    }
    const QString screen = Render(m_emulator);
    if (screen != m_sLast) {
        m_sLast = screen;
        std::fputs(screen.toUtf8().constData(), stdout);
        std::fflush(stdout);
    }
}
