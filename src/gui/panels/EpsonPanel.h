#pragma once

#include "core/settings/DisplayTypes.h"

#include <QWidget>
#include <array>

class CommandHost;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// Tab "Adv.(EPSON)": the display's EPSON customer-display command set. Every button and the
// two mode lists send one short, unframed byte sequence; nothing is read back. The national
// character set and the message it shares with the native tab leave through its signals.
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

    // The code tables "0" .. "255"; nothing selected.
    void FillExpandList();
    // The cursor buttons' pictures (icons 101 to 105).
    void ShowCursorPictures();
    // The message length and the row and column lists follow the display's geometry; the
    // message box is emptied and the first row and column selected.
    void ApplyGeometry(const DisplayType& i_type);
    // The geometry of a newly chosen type, then a refilled national list on its first entry.
    void ApplyDisplayType(const DisplayType& i_type);

    // Selects national set i_iIndex when the list has it; runs its handler on a change.
    void SelectNational(int i_iIndex);
    // Puts a message into the message box.
    void ShowMessage(const QString& i_sMessage);

signals:
    // The national list's selection changed (it is already stored).
    void nationalSelected(int i_iIndex);
    // "Send" sends the message box's text; the native tab shows it too.
    void messageChanged(const QString& i_sMessage);

private:
    void cmdEPSON_Click(int i_iIndex);
    bool Check(int i_iIndex);
    int Send(int i_iIndex);
    int Toggle(int i_iIndex);
    // The blink field's leading number as the field reads, placeholders included.
    double BlinkNumber() const;
    void cboOperation_Click(int i_iIndex);
    void cboPeripheral_Click(int i_iIndex);
    void cboNational_Click(int i_iIndex);

    CommandHost& m_host;
};
