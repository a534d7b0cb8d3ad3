#pragma once

#include "core/serial/LineTap.h"

#include <QTimer>
#include <QWidget>

class LineMonitorModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// "Line Monitor": every byte the program writes to the display and reads from it, with its
// time, direction, hex and meaning, grouped by command (one open of the port to its close).
// A plain window beside the main window: it never takes part in a command, and closing it
// changes nothing on the line.
//
// It shows the serial component's tap from its oldest event on and follows it. New events
// are taken in batches, at most 30 times a second, so that a transfer keeps its pace and a
// full record of 200,000 events stays usable.
class frmLineMonitor : public QWidget, private LineTapListener {
    Q_OBJECT

public:
    explicit frmLineMonitor(LineTap& io_tap = LineTap::Shared(), QWidget* i_pParent = nullptr);
    ~frmLineMonitor() override;
    frmLineMonitor(const frmLineMonitor&) = delete;
    frmLineMonitor& operator=(const frmLineMonitor&) = delete;

    QPushButton* cmdPause;
    QPushButton* cmdClear;
    QCheckBox* chkFollow;
    QCheckBox* chkHideText;
    QCheckBox* chkHideBlocks;
    QLineEdit* txtSearch;
    QComboBox* cboTime;
    QPushButton* cmdCopy;
    QPushButton* cmdSave;
    QTreeView* lvwLine;
    QLabel* lblStatus;

    LineMonitorModel& Model() { return *m_pModel; }

    // Every row shown, one line each (time, direction, hex, meaning); false when the file
    // cannot be written.
    bool SaveTo(const QString& i_sPath);

    // Takes what the tap has recorded since the last batch.
    void TakeNewEvents();

private:
    void TapRecorded(const TapEvent& i_event) override;
    void TapCleared() override;

    void buildControls();
    void applyFilter();
    void cmdPause_Toggled(bool i_blnPaused);
    void cmdClear_Click();
    void cmdCopy_Click();
    void cmdSave_Click();
    void expandInserted(int i_iFirst, int i_iLast);
    void showStatus();

    LineTap& m_tap;
    LineMonitorModel* m_pModel;
    QTimer m_batch;
    QTimer m_searchDelay;
    quint64 m_lNext = 0;
    // Events the ring let go before the window took them.
    quint64 m_lMissed = 0;
};
