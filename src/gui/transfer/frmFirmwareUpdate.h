#pragma once

#include "core/device/FirmwareRun.h"

#include <QDialog>
#include <array>

class CLumo;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The firmware update: pick the image, the XModem trailer and the image kind, then Send
// switches the display into its loader and starts the file sender. The dialog's timer shows
// the progress and tells the technician how the transfer ended.
class frmFirmwareUpdate : public QDialog {
    Q_OBJECT

public:
    explicit frmFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent = nullptr);

    // Every way of closing ends here: the two list choices are stored. A running transfer is
    // not stopped (Stop and the Close button stop it).
    void done(int i_iResult) override;

    // Shows the dialog again, modal, for a transfer that went on after it was closed: the bar
    // follows it again, Stop ends it, and its end is announced. Returns at once.
    void BringBack();

protected:
    void keyPressEvent(QKeyEvent* i_pEvent) override;

private:
    void cmdCtrl_Click(int i_iIndex);
    void Send();
    void Browse();
    void Timer1_Timer();
    void EnableButtons(bool i_blnEnabled);
    void cmdStop_Click();
    void LoadSettings();

    CLumo& m_lumo;
    FirmwareRun m_run;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* cboProtocol;
    QComboBox* cboType;
    QLineEdit* txtFile;
    QProgressBar* pb;
    QFrame* Line1;
    std::array<QPushButton*, 3> cmdCtrl{};
    QPushButton* cmdStop; // enabled while the transfer runs
    QTimer* Timer1;
    QFileDialog* dlg;
};
