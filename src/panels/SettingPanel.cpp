#include "panels/SettingPanel.h"

#include "app/RememberedSelections.h"
#include "app/SelectionLists.h"
#include "common/AppInfo.h"
#include "common/Prompt.h"
#include "device/CLumo.h"
#include "device/PortResolver.h"
#include "panels/CommandHost.h"
#include "widgets/ComboList.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

SettingPanel::SettingPanel(CommandHost& i_host, QWidget* i_pParent)
    : QWidget(i_pParent), m_host(i_host) {
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
    auto* form1 = new QFormLayout(Frame1);
    form1->addRow(tr("Comport:"), cboComport);
    form1->addRow(tr("Baud Rate:"), cboBaudRate);
    form1->addRow(tr("Parity:"), cboParity);
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

void SettingPanel::DescribePorts() {
    for (int i = 0; i < cboComport->count(); ++i) {
        const int port = i + 1;
        cboComport->setItemData(
            i,
            tr("COM%1 is %2 (%3)")
                .arg(port)
                .arg(PortResolver::DevicePath(port), PortResolver::Source(port)),
            Qt::ToolTipRole);
    }
}

void SettingPanel::cboComport_Click(int i_iIndex) {
    m_host.Lumo().setCommPort(i_iIndex + 1);
    cboComport->setToolTip(cboComport->itemData(i_iIndex, Qt::ToolTipRole).toString());
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
