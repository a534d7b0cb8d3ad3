#include "gui/panels/SettingPanel.h"

#include "core/common/AppInfo.h"
#include "core/common/LumoStatus.h"
#include "core/common/Prompt.h"
#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/ports/DeviceWatcher.h"
#include "core/ports/PortDescription.h"
#include "core/ports/PortResolver.h"
#include "core/ports/SerialDiscovery.h"
#include "core/scan/DisplayScan.h"
#include "core/scan/ScanPlan.h"
#include "core/settings/RememberedSelections.h"
#include "core/settings/SelectionLists.h"
#include "gui/panels/CommandHost.h"
#include "gui/panels/FindDisplayProgress.h"
#include "gui/panels/frmChooseDevice.h"
#include "gui/panels/frmFindDisplay.h"
#include "gui/widgets/ComboList.h"
#include "gui/widgets/PlainToolTip.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QStringList entries(const QComboBox* i_pCombo) {
    QStringList out;
    for (int i = 0; i < i_pCombo->count(); ++i) {
        out << i_pCombo->itemText(i);
    }
    return out;
}

} // namespace

SettingPanel::SettingPanel(CommandHost& i_host, QWidget* i_pParent)
    : QWidget(i_pParent), m_host(i_host), m_pWatcher(new DeviceWatcher(this)) {
    setObjectName(QStringLiteral("SettingPanel"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(tr("RS232 Settings"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cboComport = ComboList::Create(QStringLiteral("cboComport"), {}, false, Frame1);
    cboBaudRate = ComboList::Create(QStringLiteral("cboBaudRate"), {}, false, Frame1);
    cboParity =
        ComboList::Create(QStringLiteral("cboParity"), SelectionLists::Parities(), false, Frame1);
    for (QComboBox* combo : {cboComport, cboBaudRate, cboParity}) {
        combo->setMinimumWidth(160);
        combo->setMaximumWidth(220);
    }
    cmdChooseDevice = button(QStringLiteral("cmdChooseDevice"), tr("Choose Device\u2026"), Frame1);
    cmdChooseDevice->setToolTip(tr("Choose the device the selected port leads to"));
    lblDevice = new QLabel(Frame1);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDevice->setTextFormat(Qt::PlainText); // a device's own name is never markup
    cmdFindDisplay = button(QStringLiteral("cmdFindDisplay"), tr("Find Display"), Frame1);
    cmdFindDisplay->setToolTip(tr("Look for the display at every baud rate and parity on the "
                                  "selected port's device, or on every serial device"));
    cmdFindDisplay->setMaximumWidth(220);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(cboComport);
    portRow->addWidget(cmdChooseDevice);
    portRow->addStretch(1);
    auto* form1 = new QFormLayout(Frame1);
    form1->addRow(tr("Comport:"), portRow);
    form1->addRow(QString(), lblDevice);
    form1->addRow(tr("Baud Rate:"), cboBaudRate);
    form1->addRow(tr("Parity:"), cboParity);
    form1->addRow(QString(), cmdFindDisplay);
    layout->addWidget(Frame1);

    Frame2 = new QGroupBox(tr("Display type"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    cboLumoType = ComboList::Create(QStringLiteral("cboLumoType"), {}, false, Frame2);
    auto* form2 = new QFormLayout(Frame2);
    form2->addRow(tr("Lumo model:"), cboLumoType);
    layout->addWidget(Frame2);

    Frame7 = new QGroupBox(tr("Miscellaneous"), this);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    cmdMis = button(QStringLiteral("cmdMis"), tr("VT100 Mode Test"), Frame7);
    cmdFirmwireUpdate = button(QStringLiteral("cmdFirmwireUpdate"), tr("Firmware Update"), Frame7);
    cmdLightTube = button(QStringLiteral("cmdLightTube"), tr("Fully Light the Tube"), Frame7);
    cmdLightTube->setToolTip(tr("Lights every dot of every character cell"));
    cmdLineMonitor = button(QStringLiteral("cmdLineMonitor"), tr("Line Monitor"), Frame7);
    cmdLineMonitor->setToolTip(tr("Shows every byte sent to the display and received from it"));
    for (QPushButton* b : {cmdMis, cmdFirmwireUpdate, cmdLightTube, cmdLineMonitor}) {
        b->setMaximumWidth(220);
    }
    auto* box7 = new QVBoxLayout(Frame7);
    box7->addWidget(cmdMis);
    box7->addWidget(cmdFirmwireUpdate);
    box7->addWidget(cmdLightTube);
    box7->addWidget(cmdLineMonitor);
    layout->addWidget(Frame7);
    layout->addStretch(1);

    ComboList::OnSelection(cboComport, [this](int i) { cboComport_Click(i); });
    ComboList::OnSelection(cboBaudRate, [this](int i) { cboBaudRate_Click(i); });
    ComboList::OnSelection(cboParity, [this](int i) { cboParity_Click(i); });
    ComboList::OnSelection(cboLumoType, [this](int i) { cboLumoType_Click(i); });
    connect(cmdLightTube, &QPushButton::clicked, this, [this] { cmdLightTube_Click(); });
    connect(cmdChooseDevice, &QPushButton::clicked, this, [this] { cmdChooseDevice_Click(); });
    connect(cmdFindDisplay, &QPushButton::clicked, this, [this] { cmdFindDisplay_Click(); });
    connect(m_pWatcher, &DeviceWatcher::devicesChanged, this, [this] { ShowSelectedDevice(); });
    connect(cmdFirmwireUpdate, &QPushButton::clicked, this, &SettingPanel::firmwareUpdatePressed);
    connect(cmdMis, &QPushButton::clicked, this, &SettingPanel::vt100TestPressed);
    connect(cmdLineMonitor, &QPushButton::clicked, this, &SettingPanel::lineMonitorPressed);
}

void SettingPanel::FillFixedLists() {
    ComboList::Fill(cboBaudRate, SelectionLists::BaudRates());
    ComboList::Fill(cboComport, SelectionLists::Comports());
    DescribePorts();
}

void SettingPanel::HideTypeSelection() {
    cmdMis->hide();
    Frame2->hide();
}

void SettingPanel::FillDisplayTypeList() {
    ComboList::Fill(cboLumoType, DisplayType::RowTexts());
}

void SettingPanel::ApplyDisplayType(const DisplayType& i_type) {
    cmdMis->setEnabled(i_type.vt100Test);
    cmdFirmwireUpdate->setEnabled(i_type.firmwareUpdate);
}

void SettingPanel::SelectBaudRate(int i_iIndex) {
    ComboList::SelectIfPresent(cboBaudRate, i_iIndex);
}

void SettingPanel::EnablePortChoice(bool i_blnEnabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{cmdChooseDevice, cboComport, cboBaudRate, cboParity}) {
        control->setEnabled(i_blnEnabled);
    }
}

void SettingPanel::DescribePorts() {
    for (int i = 0; i < cboComport->count(); ++i) {
        const int port = i + 1;
        cboComport->setItemData(
            i,
            PlainToolTip::Of(tr("COM%1 is %2 (%3)")
                                 .arg(port)
                                 .arg(PortResolver::DevicePath(port), PortResolver::Source(port))),
            Qt::ToolTipRole);
    }
    ShowSelectedDevice();
}

void SettingPanel::ShowSelectedDevice() {
    const int port = SelectedPort();
    cboComport->setToolTip(
        port >= 1 ? PlainToolTip::Of(cboComport->itemData(port - 1, Qt::ToolTipRole).toString())
                  : QString());
    lblDevice->setText(port >= 1 ? PortDescription::Label(port, m_pWatcher->Devices()) : QString());
    // The console in the warning colour: the port leads into this computer's own console.
    const bool console =
        port >= 1 &&
        SerialDiscovery::Describe(PortResolver::DevicePath(port), m_pWatcher->Devices()).state ==
            SerialDevice::State::Console;
    lblDevice->setStyleSheet(console ? QStringLiteral("color: #a05a00;") : QString());
}

int SettingPanel::SelectedPort() const {
    return cboComport->currentIndex() + 1;
}

QString SettingPanel::NewDeviceHint(int i_iPort) const {
    return PortDescription::NewDeviceHint(i_iPort, m_pWatcher->AppearedSinceStart());
}

void SettingPanel::cboComport_Click(int i_iIndex) {
    m_host.Lumo().setCommPort(i_iIndex + 1);
    ShowSelectedDevice();
    RememberedSelections::Save(cboComport->objectName(), i_iIndex);
}

void SettingPanel::cboBaudRate_Click(int i_iIndex) {
    m_host.Lumo().setBaudRate(cboBaudRate->itemText(i_iIndex));
    RememberedSelections::Save(cboBaudRate->objectName(), i_iIndex);
}

void SettingPanel::cboParity_Click(int i_iIndex) {
    m_host.Lumo().setParity(cboParity->itemText(i_iIndex));
    RememberedSelections::Save(cboParity->objectName(), i_iIndex);
}

void SettingPanel::cboLumoType_Click(int i_iIndex) {
    RememberedSelections::Save(cboLumoType->objectName(), i_iIndex);
    const DisplayType type = DisplayType::FromText(cboLumoType->currentText());
    if (type.code == 10) {
        Prompt::Current().Show(Prompt::Icon::None, AppInfo::Name(),
                               QStringLiteral("cboLumoType_Click() Display type Error"));
    }
    emit displayTypeChosen(type);
}

void SettingPanel::cmdLightTube_Click() {
    const qint16 cells = DisplayType::FromCode(m_host.DisplayTypeCode()).cells;
    m_host.RunCommand(false, [this, cells] { return m_host.Lumo().FullyLightTube(cells); });
}

void SettingPanel::cmdChooseDevice_Click() {
    const int port = SelectedPort();
    if (port < 1) {
        m_host.Refuse(tr("Comport: choose a port first."));
        return;
    }
    frmChooseDevice dialog(port, *m_pWatcher, window());
    if (dialog.exec() == QDialog::Accepted) {
        DescribePorts();
    }
}

void SettingPanel::cmdFindDisplay_Click() {
    const int port = SelectedPort();
    m_pWatcher->Refresh();
    frmFindDisplay dialog(SelectedDevicePath(port), m_pWatcher->Devices(), window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const bool allDevices = dialog.AllDevices();
    m_host.RunCommand(false, [this, port, allDevices] {
        m_host.ShowStatusText(QString(), QString());
        const ScanOutcome outcome = FindDisplay(port, allDevices);
        const QString note = UseFoundDisplay(port, outcome);
        QString details = outcome.Details();
        if (!note.isEmpty()) {
            details += QLatin1Char('\n') + note;
        }
        m_host.ShowStatusText(outcome.Summary(), details);
        return LumoStatus::Success;
    });
}

QString SettingPanel::SelectedDevicePath(int i_iPort) {
    return i_iPort >= 1 ? PortResolver::DevicePath(i_iPort) : QString();
}

ScanOutcome SettingPanel::FindDisplay(int i_iPort, bool i_blnAllDevices) {
    m_pWatcher->Refresh();
    const ScanSetting current{cboBaudRate->currentText(), cboParity->currentText()};
    FindDisplayProgress progress(window());
    DisplayScan scan(frmCLumo::Instance().MSComm1(), progress, i_iPort);
    return scan.Run(
        ScanPlan::Candidates(SelectedDevicePath(i_iPort), m_pWatcher->Devices(), i_blnAllDevices),
        ScanPlan::Settings(entries(cboBaudRate), entries(cboParity), current));
}

QString SettingPanel::UseFoundDisplay(int i_iPort, const ScanOutcome& i_outcome) {
    if (i_outcome.result != ScanOutcome::Result::Found) {
        return {};
    }
    QString note;
    if (i_iPort >= 1) {
        const SerialDevice found = SerialDiscovery::Describe(i_outcome.path, m_pWatcher->Devices());
        if (SerialDiscovery::IndexOf(PortResolver::DevicePath(i_iPort), {found}) < 0) {
            PortResolver::SetMapping(i_iPort, found.MappingValue());
            if (!PortResolver::FromEnvironment(i_iPort).isEmpty()) {
                note = tr("COM%1 now leads to %2 in the settings, but %3 is set and wins: unset "
                          "it to use the display.")
                           .arg(i_iPort)
                           .arg(found.MappingValue(), PortResolver::EnvironmentName(i_iPort));
            }
        }
    }
    // Selected through the lists, so that their handlers pass the values on and store them.
    ComboList::SelectIfPresent(cboBaudRate, cboBaudRate->findText(i_outcome.setting.baudRate));
    ComboList::SelectIfPresent(cboParity, cboParity->findText(i_outcome.setting.parity));
    DescribePorts();
    return note;
}
