#pragma once

#include "core/settings/DisplayTypes.h"

#include <QWidget>
#include <array>

class CommandHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

// Tab "Main(VELT)": the display's own command set, one row of inputs per command, the outcome
// in the main window's status box. What the other tabs show of it (the international code,
// the message, the display's new baud rate) leaves through its signals.
class VeltPanel : public QWidget {
    Q_OBJECT

public:
    VeltPanel(CommandHost& i_host, QWidget* i_pParent = nullptr);

    std::array<QPushButton*, 11> cmdVELT{};
    QLabel* lblVersion;
    QComboBox* cboS_BaudRate;
    QComboBox* cboS_Parity;
    QComboBox* cboInternationalCode;
    QLineEdit* txtLayer;
    UpDown* UpDown1;
    QLineEdit* txtPosition;
    UpDown* UpDown2;
    QLineEdit* txtStart;
    UpDown* UpDown3;
    QLineEdit* txtEnd;
    UpDown* UpDown4;
    QComboBox* cboLayer;
    QComboBox* cboMode;
    QComboBox* cboShowSavedMessageAfterRebootMode;
    QComboBox* cboDevice;
    QLineEdit* txtMessage;

    // The baud-rate and reboot-mode lists; nothing selected.
    void FillFixedLists();
    // The mode names of the display type; nothing selected.
    void FillModeList(const DisplayType& i_type);
    // The message length and the spinners' upper bound follow the cell count; the message box
    // is emptied.
    void ApplyGeometry(const DisplayType& i_type);
    // All of the above for a newly chosen type, then the first mode and, in a refilled list,
    // the first international code.
    void ApplyDisplayType(const DisplayType& i_type);

    // Selects international code i_iIndex when the list has it; runs its handler on a change.
    void SelectInternationalCode(int i_iIndex);
    // Puts a message into the message box.
    void ShowMessage(const QString& i_sMessage);

signals:
    // The international code list's selection changed (it is already stored).
    void internationalCodeSelected(int i_iIndex);
    // The message box's text went to the display or came from it, whatever the outcome.
    void messageChanged(const QString& i_sMessage);
    // The display took the baud rate of entry i_iIndex of the rate list (or answered Nack).
    void displayBaudRateChanged(int i_iIndex);

private:
    void cmdVELT_Click(int i_iIndex);
    int RunIndex(int i_iIndex);
    bool ReadInt16Field(QLineEdit* i_pBox, const QString& i_sField, qint16& o_iValue);
    void cboInternationalCode_Click(int i_iIndex);

    CommandHost& m_host;
};
