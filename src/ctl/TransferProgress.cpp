#include "ctl/TransferProgress.h"

#include <algorithm>
#include <cstdio>

namespace {

void put(const QString& i_sText) {
    std::fputs(i_sText.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

TransferProgress::TransferProgress(bool i_blnTerminal) : m_blnTerminal(i_blnTerminal) {
    m_clock.start();
}

QString TransferProgress::Bar(int i_iPercent, qint64 i_lBlock, qint64 i_lBlocks,
                              qint64 i_lLeftSeconds) {
    constexpr int kWidth = 30;
    const int filled = i_iPercent * kWidth / 100;
    QString text = QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
                   QString(kWidth - filled, QLatin1Char('.')) + QStringLiteral("] ") +
                   QStringLiteral("%1 %").arg(i_iPercent, 3);
    if (i_lBlocks > 0) {
        text += QStringLiteral("  block %1 of %2").arg(i_lBlock).arg(i_lBlocks);
    }
    if (i_lLeftSeconds >= 0) {
        text += QStringLiteral("  %1:%2 left")
                    .arg(i_lLeftSeconds / 60)
                    .arg(i_lLeftSeconds % 60, 2, 10, QLatin1Char('0'));
    }
    return text;
}

void TransferProgress::Show(int i_iPercent, qint64 i_lBlock, qint64 i_lBlocks) {
    // The sender sets its percentage back to 0 for the end sequence; the bar stays full.
    m_iPercent = std::max(m_iPercent, i_iPercent);
    if (i_lBlock == 1 && !m_blnTiming) {
        m_clock.start(); // the time left counts from the first block, after the loader switch
        m_blnTiming = true;
    }
    if (m_blnTerminal) {
        qint64 left = -1;
        if (m_blnTiming && i_lBlock > 1 && i_lBlocks > 0) {
            const qint64 done = i_lBlock - 1;
            left = m_clock.elapsed() * (i_lBlocks - done) / done / 1000;
        }
        put(QStringLiteral("\r") + Bar(m_iPercent, i_lBlock, i_lBlocks, left) +
            QStringLiteral("\x1b[K"));
        m_blnDrawn = true;
        return;
    }
    const int tenths = m_iPercent / 10;
    if (tenths > m_iTenthsShown && i_lBlocks > 0) {
        m_iTenthsShown = tenths;
        put(QStringLiteral("firmware: %1 %, block %2 of %3\n")
                .arg(tenths * 10)
                .arg(i_lBlock)
                .arg(i_lBlocks));
    }
}

void TransferProgress::Done() {
    if (m_blnDrawn) {
        put(QStringLiteral("\n"));
        m_blnDrawn = false;
    }
}
