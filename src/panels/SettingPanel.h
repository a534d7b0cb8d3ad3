#pragma once

#include "app/DisplayTypes.h"

#include <QWidget>

class CommandHost;
class QComboBox;
class QGroupBox;
class QPushButton;

// Tab "Setting": the computer's serial port and its parameters, the display type, and the
// miscellaneous tests. The display type and the two window buttons are the main window's
// business: the panel tells it through its signals.
class SettingPanel : public QWidget {
    Q_OBJECT

public:
    SettingPanel(CommandHost& i_host, QWidget* i_pParent = nullptr);

    QGroupBox* Frame1;
    QComboBox* cboComport;
    QComboBox* cboBaudRate;
    QComboBox* cboParity;
    QGroupBox* Frame2;
    QComboBox* cboLumoType;
    QGroupBox* Frame7;
    QPushButton* cmdMis;
    QPushButton* cmdFirmwireUpdate;
    QPushButton* cmdLightTube;
    QPushButton* cmdLineMonitor;

    // The port and baud-rate lists, each port entry with a tool tip naming its device.
    void FillFixedLists();
    // The running program works with one display type and offers no VT100 test.
    void HideTypeSelection();
    // The nine display-type rows; nothing selected.
    void FillDisplayTypeList();
    // Offers the VT100 test and the firmware update as the display type allows.
    void ApplyDisplayType(const DisplayType& i_type);
    // Moves the computer's own baud rate to entry i_iIndex (when the list has it); its handler
    // hands the rate to the session.
    void SelectBaudRate(int i_iIndex);

signals:
    // A display type row was selected (its text matched no row when the code is 10).
    void displayTypeChosen(const DisplayType& i_type);
    void firmwareUpdatePressed();
    void vt100TestPressed();
    void lineMonitorPressed();

private:
    void DescribePorts();
    void cboComport_Click(int i_iIndex);
    void cboBaudRate_Click(int i_iIndex);
    void cboParity_Click(int i_iIndex);
    void cboLumoType_Click(int i_iIndex);
    void cmdLightTube_Click();

    CommandHost& m_host;
};
