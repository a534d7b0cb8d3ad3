#pragma once

#include "core/settings/DisplayTypes.h"

#include <QWidget>

class CommandHost;
class DeviceWatcher;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
struct ScanOutcome;

// Tab "Setting": the computer's serial port and its parameters, the display type, and the
// miscellaneous tests. The display type and the two window buttons are the main window's
// business: the panel tells it through its signals.
//
// Beside the port list it shows where the selected COMn leads (lblDevice, kept current as
// devices come and go), lets the technician choose the device (cmdChooseDevice) and looks for
// the display at every line setting on that device, or on every device when the technician
// asks (cmdFindDisplay).
class SettingPanel : public QWidget {
    Q_OBJECT

public:
    SettingPanel(CommandHost& i_host, QWidget* i_pParent = nullptr);

    QGroupBox* Frame1;
    QComboBox* cboComport;
    QPushButton* cmdChooseDevice;
    QLabel* lblDevice;
    QComboBox* cboBaudRate;
    QComboBox* cboParity;
    QPushButton* cmdFindDisplay;
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
    // The port settings (Choose Device…, port, baud rate, parity); off while a firmware
    // transfer owns the open port, which a change would not reach.
    void EnablePortChoice(bool i_blnEnabled);

    // The devices as the panel follows them.
    DeviceWatcher& Devices() { return *m_pWatcher; }
    // After "Commport open failed.": names the devices plugged in since start-up when the
    // selected port's own device is missing, and says how to use them; empty otherwise.
    QString NewDeviceHint(int i_iPort) const;

signals:
    // A display type row was selected (its text matched no row when the code is 10).
    void displayTypeChosen(const DisplayType& i_type);
    void firmwareUpdatePressed();
    void vt100TestPressed();
    void lineMonitorPressed();

private:
    // Every port's tool tip (where it leads), then ShowSelectedDevice.
    void DescribePorts();
    // The selected port's tool tip and lblDevice.
    void ShowSelectedDevice();
    int SelectedPort() const;
    void cmdChooseDevice_Click();
    void cmdFindDisplay_Click();
    // The device a port number leads to; empty for no port.
    static QString SelectedDevicePath(int i_iPort);
    // The scan on the selected port's device, or on every device with i_blnAllDevices.
    ScanOutcome FindDisplay(int i_iPort, bool i_blnAllDevices);
    // Maps the port to the device where the display answered and selects its rate and parity;
    // returns a note when the environment keeps the port on another device.
    QString UseFoundDisplay(int i_iPort, const ScanOutcome& i_outcome);
    void cboComport_Click(int i_iIndex);
    void cboBaudRate_Click(int i_iIndex);
    void cboParity_Click(int i_iIndex);
    void cboLumoType_Click(int i_iIndex);
    void cmdLightTube_Click();

    CommandHost& m_host;
    DeviceWatcher* m_pWatcher;
};
