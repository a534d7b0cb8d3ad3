#pragma once

#include <QWidget>

class CommandHost;
class QComboBox;
class QGroupBox;
class QPushButton;

// Tab "Setting": the computer's serial port and its parameters, the display type, and the
// miscellaneous tests.
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

    // Gives each port entry a tool tip naming the device it leads to.
    void DescribePorts();

private:
    void cboComport_Click(int i_iIndex);
    void cboBaudRate_Click(int i_iIndex);
    void cboParity_Click(int i_iIndex);
    void cmdLightTube_Click();

    CommandHost& m_host;
};
