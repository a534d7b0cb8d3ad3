#pragma once

#include <QWidget>
#include <array>

class CommandHost;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// Tab "Adv.(EPSON)": the display's EPSON customer-display command set. Every button and the
// two mode lists send one short, unframed byte sequence; nothing is read back.
class EpsonPanel : public QWidget {
    Q_OBJECT

public:
    EpsonPanel(CommandHost& i_host, QWidget* i_pParent = nullptr);

    std::array<QPushButton*, 20> cmdEPSON{};
    QLineEdit* txtEPSON;
    QComboBox* cboPeripheral;
    QComboBox* cboOperation;
    QComboBox* cboNational;
    QComboBox* cboExpand;
    QLineEdit* txtBlink;
    QComboBox* cboRow;
    QComboBox* cboColumn;

    // The two-state buttons keep their state here ("0" or "1").
    static QString Tag(const QPushButton* i_pButton);

private:
    void cmdEPSON_Click(int i_iIndex);
    bool Check(int i_iIndex);
    int Send(int i_iIndex);
    int Toggle(int i_iIndex);
    void cboOperation_Click(int i_iIndex);
    void cboPeripheral_Click(int i_iIndex);
    void cboNational_Click(int i_iIndex);

    CommandHost& m_host;
};
