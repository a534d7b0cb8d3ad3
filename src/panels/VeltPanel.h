#pragma once

#include <QWidget>
#include <array>

class CommandHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

// Tab "Main(VELT)": the display's own command set, one row of inputs per command, the outcome
// in the main window's status box.
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

private:
    void cmdVELT_Click(int i_iIndex);
    int RunIndex(int i_iIndex);
    bool ReadInt16Field(QLineEdit* i_pBox, const QString& i_sField, qint16& o_iValue);
    void cboInternationalCode_Click(int i_iIndex);

    CommandHost& m_host;
};
