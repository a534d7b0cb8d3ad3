#pragma once

#include <QElapsedTimer>
#include <QString>

// The progress of a firmware transfer on standard error. On a terminal one line, redrawn: a
// bar, the percentage, "block n of N" and the time left; otherwise a line at each further
// tenth ("firmware: 30 %, block 39 of 128").
class TransferProgress {
public:
    explicit TransferProgress(bool i_blnTerminal);

    // The sender's percentage, the block under way and the file's block count (0 before the
    // first block).
    void Show(int i_iPercent, qint64 i_lBlock, qint64 i_lBlocks);
    // Ends a redrawn line.
    void Done();

    // The redrawn line's text.
    static QString Bar(int i_iPercent, qint64 i_lBlock, qint64 i_lBlocks, qint64 i_lLeftSeconds);

private:
    bool m_blnTerminal;
    int m_iPercent = 0;
    int m_iTenthsShown = 0;
    bool m_blnDrawn = false;
    bool m_blnTiming = false;
    QElapsedTimer m_clock;
};
