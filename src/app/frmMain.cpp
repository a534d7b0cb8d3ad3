#include "app/frmMain.h"

#include "app/DisplayTypes.h"
#include "app/SelectionLists.h"
#include "app/SettingsStore.h"
#include "app/StartupSequence.h"
#include "common/AppInfo.h"
#include "common/LumoStatus.h"
#include "common/Prompt.h"
#include "device/CLumo.h"
#include "device/OpenFailureAdvice.h"
#include "device/modLumo.h"
#include "panels/AsciiPanel.h"
#include "panels/EpsonPanel.h"
#include "panels/SettingPanel.h"
#include "panels/VeltPanel.h"
#include "transfer/FirmwareUpdateEntry.h"
#include "transfer/frmCLumo.h"
#include "vt100/frmVT100.h"
#include "widgets/ComboList.h"
#include "widgets/UpDown.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

frmMain::frmMain(QWidget* i_pParent) : QWidget(i_pParent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lumoq4.png")));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    m_pSetting = new SettingPanel(*this, SSTab1);
    m_pVelt = new VeltPanel(*this, SSTab1);
    m_pEpson = new EpsonPanel(*this, SSTab1);
    m_pAscii = new AsciiPanel(*this, SSTab1);
    SSTab1->addTab(m_pSetting, tr("Setting"));
    SSTab1->addTab(m_pVelt, tr("Main(VELT)"));
    SSTab1->addTab(m_pEpson, tr("Adv.(EPSON)"));
    SSTab1->addTab(m_pAscii, tr("Send by ASCII"));

    txtStatus = new QLineEdit(this);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->setReadOnly(true);
    cmdExit = new QPushButton(tr("&Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));

    auto* statusLabel = new QLabel(tr("Status:"), this);
    statusLabel->setBuddy(txtStatus);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLabel);
    bottom->addWidget(txtStatus, 1);
    bottom->addSpacing(12);
    bottom->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(bottom);

    ComboList::OnSelection(m_pSetting->cboLumoType, [this](int i) { cboLumoType_Click(i); });
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_pSetting->cmdFirmwireUpdate, &QPushButton::clicked, this,
            [this] { cmdFirmwireUpdate_Click(); });
    connect(m_pSetting->cmdMis, &QPushButton::clicked, this, [this] { cmdMis_Click(); });

    StartupSequence::Run(*this);
}

frmMain::~frmMain() = default;

CLumo& frmMain::m_lumo() {
    if (!m_pLumo) {
        m_pLumo = std::make_unique<CLumo>();
    }
    return *m_pLumo;
}

// --- Command envelope ---------------------------------------------------------------------

bool frmMain::RunCommand(bool i_blnStatus, const std::function<int()>& i_command) {
    if (!m_busy.Begin()) {
        return false; // another command is still waiting for the display
    }
    SSTab1->setEnabled(false);
    if (i_blnStatus) {
        txtStatus->clear();
        txtStatus->setToolTip(QString());
    }
    const int status = i_command();
    if (i_blnStatus) {
        ShowStatus(status);
    }
    modLumo::ProcessEvents();
    SSTab1->setEnabled(true);
    m_busy.End();
    return true;
}

void frmMain::ShowStatus(int i_iStatus) {
    if (i_iStatus == LumoStatus::Success) {
        txtStatus->setText(QStringLiteral("OK"));
        return;
    }
    QString message;
    m_lumo().ErrorDescription(i_iStatus, message);
    txtStatus->setText(message);
    if (i_iStatus == LumoStatus::OpenFailed) {
        txtStatus->setToolTip(
            OpenFailureAdvice::For(frmCLumo::Instance().LastOpenFailure(), m_lumo().CommPort()));
    }
}

void frmMain::Refuse(const QString& i_sMessage) {
    Prompt::Current().Show(Prompt::Icon::Exclamation, AppInfo::Name(), i_sMessage);
}

void frmMain::closeEvent(QCloseEvent* i_pEvent) {
    i_pEvent->accept();
    if (Busy()) {
        // A command is waiting for the display inside this event: let every wait return at
        // once so that it unwinds, and leave the event loops as soon as it has.
        modLumo::AbandonWaits();
        QCoreApplication::exit(0);
    }
}

// --- Display type -------------------------------------------------------------------------

void frmMain::FillDisplayTypeList() {
    ComboList::Fill(m_pSetting->cboLumoType, DisplayType::RowTexts());
    ComboList::Fill(m_pEpson->cboExpand, SelectionLists::Numbers(0, 255));
}

void frmMain::FillModeList() {
    ComboList::Fill(m_pVelt->cboMode,
                    m_iDisplayType == 8 ? SelectionLists::ModesB() : SelectionLists::ModesA());
}

void frmMain::ApplyDisplayGeometry() {
    const DisplayType type = DisplayType::FromCode(m_iDisplayType);
    const int limit = type.cells > 0 ? type.cells : 32767;
    m_pVelt->txtMessage->setMaxLength(limit);
    m_pEpson->txtEPSON->setMaxLength(limit);
    m_pVelt->txtMessage->clear();
    m_pEpson->txtEPSON->clear();
    m_pVelt->UpDown2->setMax(type.cells);
    m_pVelt->UpDown3->setMax(type.cells);
    m_pVelt->UpDown4->setMax(type.cells);
    ComboList::Fill(m_pEpson->cboRow, SelectionLists::Numbers(1, type.rows));
    ComboList::SelectIfPresent(m_pEpson->cboRow, 0);
    ComboList::Fill(m_pEpson->cboColumn, SelectionLists::Numbers(1, type.columns));
    ComboList::SelectIfPresent(m_pEpson->cboColumn, 0);
}

void frmMain::ApplyTabAvailability() {
    const DisplayType type = DisplayType::FromCode(m_iDisplayType);
    if (type.code == 10) {
        return;
    }
    SSTab1->setTabEnabled(1, type.tabVelt);
    SSTab1->setTabEnabled(2, type.tabEpson);
    SSTab1->setTabEnabled(3, type.tabAscii);
}

void frmMain::cboLumoType_Click(int i_iIndex) {
    SettingsStore::SaveSetting(AppInfo::Name(), QStringLiteral("Set"), QStringLiteral("LumoType"),
                               QString::number(i_iIndex));
    const DisplayType type = DisplayType::FromText(m_pSetting->cboLumoType->currentText());
    if (type.code == 10) {
        Prompt::Current().Show(Prompt::Icon::None, AppInfo::Name(),
                               QStringLiteral("cboLumoType_Click() Display type Error"));
    }
    m_iDisplayType = type.code;
    ApplyTabAvailability();
    ApplyDisplayGeometry();
    FillModeList();
    ComboList::Select(m_pVelt->cboMode, 0);
    m_pSetting->cmdMis->setEnabled(type.vt100Test);
    m_pSetting->cmdFirmwireUpdate->setEnabled(type.firmwareUpdate);
    ComboList::Fill(m_pVelt->cboInternationalCode, SelectionLists::InternationalCodes());
    ComboList::Select(m_pVelt->cboInternationalCode, 0);
    ComboList::Fill(m_pEpson->cboNational, SelectionLists::InternationalCodes());
    ComboList::Select(m_pEpson->cboNational, 0);
}

// --- Secondary windows --------------------------------------------------------------------

void frmMain::cmdFirmwireUpdate_Click() {
    RunFirmwareUpdate(m_lumo(), this);
}

void frmMain::cmdMis_Click() {
    // A fresh window (and screen model) for every opening.
    frmVT100 window(m_lumo(), this);
    window.exec();
}
