#pragma once

#include <QWidget>

class DotMatrixView;
class PtyDisplay;
class QLabel;
class QPlainTextEdit;

// The simulator's window: the display in its housing, a status line with what the commands
// have set, the journal of received bytes with their meaning, and the aux-device output.
class DisplayWindow : public QWidget {
    Q_OBJECT
public:
    explicit DisplayWindow(PtyDisplay& io_display, QWidget* i_pParent = nullptr);

    // Redraws the tube and appends new journal lines.
    void Refresh();

private:
    QString statusText() const;
    QString lineText() const;

    PtyDisplay& m_display;
    DotMatrixView* m_pView;
    QLabel* m_pStatus;
    QLabel* m_pPort;
    QPlainTextEdit* m_pLog;
    QPlainTextEdit* m_pAux;
    void appendJournal();

    // Journal entries shown so far (the dropped ones counted), and the lines at the end that
    // show entries still under way.
    quint64 m_lLogShown = 0;
    int m_iPendingShown = 0;
    int m_iAuxShown = 0;
};
