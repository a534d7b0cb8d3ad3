#include "gui/app/frmMain.h"

#include "core/common/AppInfo.h"
#include "core/common/ControlText.h"
#include "core/common/LumoStatus.h"
#include "core/common/Prompt.h"
#include "core/device/CLumo.h"
#include "core/device/FirmwareRun.h"
#include "core/device/frmCLumo.h"
#include "core/ports/ConsoleGuard.h"
#include "core/ports/DeviceState.h"
#include "core/ports/PortResolver.h"
#include "core/protocol/modLumo.h"
#include "core/serial/LineTap.h"
#include "core/serial/OpenFailureAdvice.h"
#include "core/settings/DisplayTypes.h"
#include "core/settings/RememberedSelections.h"
#include "gui/app/StartupSequence.h"
#include "gui/monitor/frmLineMonitor.h"
#include "gui/panels/AsciiPanel.h"
#include "gui/panels/EpsonPanel.h"
#include "gui/panels/SettingPanel.h"
#include "gui/panels/VeltPanel.h"
#include "gui/transfer/FirmwareUpdateEntry.h"
#include "gui/vt100/frmVT100.h"
#include "gui/widgets/PlainToolTip.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
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

    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(&frmCLumo::Instance(), &frmCLumo::transferStateChanged, this,
            [this] { m_pSetting->EnablePortChoice(!m_lumo().TransferRunning()); });
    connect(&frmCLumo::Instance(), &frmCLumo::transferEnded, this, [this] { TransferEnded(); });
    ConnectPanels();
    RunStartup();
}

frmMain::~frmMain() = default;

void frmMain::ConnectPanels() {
    connect(m_pSetting, &SettingPanel::displayTypeChosen, this,
            [this](const DisplayType& i_type) { ApplyDisplayType(i_type); });
    connect(m_pSetting, &SettingPanel::firmwareUpdatePressed, this,
            [this] { cmdFirmwireUpdate_Click(); });
    connect(m_pSetting, &SettingPanel::vt100TestPressed, this, [this] { cmdMis_Click(); });
    connect(m_pSetting, &SettingPanel::lineMonitorPressed, this,
            [this] { cmdLineMonitor_Click(); });
    // The two international-code lists show the same set; the national list is the EPSON
    // tab's view of it.
    connect(m_pVelt, &VeltPanel::internationalCodeSelected, m_pEpson, &EpsonPanel::SelectNational);
    connect(m_pEpson, &EpsonPanel::nationalSelected, m_pVelt, &VeltPanel::SelectInternationalCode);
    // Both tabs show the last message sent or read.
    connect(m_pVelt, &VeltPanel::messageChanged, m_pEpson, &EpsonPanel::ShowMessage);
    connect(m_pEpson, &EpsonPanel::messageChanged, m_pVelt, &VeltPanel::ShowMessage);
    // The computer's own port follows the display to its new baud rate.
    connect(m_pVelt, &VeltPanel::displayBaudRateChanged, m_pSetting, &SettingPanel::SelectBaudRate);
}

// --- Start-up -----------------------------------------------------------------------------

void frmMain::RunStartup() {
    StartupSequence startup(*this);
    startup.Step([this] { m_blnLoading = true; });
    startup.Step([this] { FillFixedLists(); });
    startup.Step([this] { FillDisplayTypeList(); });
    for (const RememberedSelection& remembered : RememberedSelections::All()) {
        if (qstrcmp(remembered.list, "cboMode") == 0) {
            // The mode names depend on the display type restored first.
            startup.Step([this] { FillModeList(); });
        }
        startup.Restore(remembered);
    }
    startup.Step([this] { ApplyDisplayGeometry(); });
    startup.Step([this] { ApplyTabAvailability(); });
    startup.Select("cboExpand", 0);
    startup.Select("cboOperation", 0);
    startup.Select("cboPeripheral", 1);
    startup.Select("cboRow", 0);
    startup.Select("cboColumn", 0);
    startup.Select("cboDevice", 0);
    startup.Step([this] { m_pEpson->ShowCursorPictures(); });
    startup.Step([this] { SSTab1->setCurrentIndex(0); });
    startup.Step([this] { setWindowTitle(AppInfo::Title()); });
    // The running program works with the 2x20 display whatever was stored.
    startup.Select("cboLumoType", 4);
    startup.Step([this] { m_blnLoading = false; });
}

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
    if (RefusedForTransfer()) {
        m_busy.End();
        return false;
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

bool frmMain::RunListCommand(const std::function<int()>& i_command) {
    if (RefusedForTransfer()) {
        return false;
    }
    i_command();
    return true;
}

bool frmMain::RefusedForTransfer() {
    if (!m_lumo().TransferRunning()) {
        return false;
    }
    txtStatus->setText(QStringLiteral("A firmware transfer is running."));
    txtStatus->setToolTip(QString());
    return true;
}

void frmMain::ShowStatus(int i_iStatus) {
    if (i_iStatus == LumoStatus::OpenFailed) {
        QString message;
        m_lumo().ErrorDescription(i_iStatus, message);
        const int port = m_lumo().CommPort();
        if (ConsoleGuard::DefaultsToConsole(port)) {
            message += QStringLiteral(" COM%1 leads to the system console, which is never "
                                      "opened by default.")
                           .arg(port);
        }
        txtStatus->setText(message);
        QString advice = OpenFailureAdvice::For(frmCLumo::Instance().LastOpenFailure(), port);
        const QString hint = m_pSetting->NewDeviceHint(port);
        if (!hint.isEmpty()) {
            advice += QLatin1Char('\n') + hint;
        }
        txtStatus->setToolTip(PlainToolTip::Of(advice));
        return;
    }
    if (i_iStatus == LumoStatus::Success) {
        txtStatus->setText(QStringLiteral("OK"));
    } else {
        QString message;
        m_lumo().ErrorDescription(i_iStatus, message);
        txtStatus->setText(message);
    }
    // The close gave up on bytes the line did not take: how many, and why.
    const QString lost = frmCLumo::Instance().LastCloseFailure();
    if (i_iStatus == LumoStatus::NotConnected && !lost.isEmpty()) {
        txtStatus->setToolTip(lost);
        return;
    }
    // The line was opened: a pseudo-terminal does not carry the framing that was asked for.
    const QString path = PortResolver::DevicePath(m_lumo().CommPort());
    if (DeviceState::IsPseudoTerminal(path)) {
        txtStatus->setToolTip(QStringLiteral("%1 is a pseudo-terminal: it carries 8 data bits and "
                                             "no parity whatever is asked.")
                                  .arg(path));
    }
}

void frmMain::ShowStatusText(const QString& i_sText, const QString& i_sToolTip) {
    txtStatus->setText(ControlText::Escaped(i_sText));
    txtStatus->setToolTip(PlainToolTip::Of(i_sToolTip));
}

void frmMain::Refuse(const QString& i_sMessage) {
    Prompt::Current().Show(Prompt::Icon::Exclamation, AppInfo::Name(), i_sMessage);
}

void frmMain::closeEvent(QCloseEvent* i_pEvent) {
    i_pEvent->accept();
    if (Busy() || m_lumo().TransferRunning()) {
        // A command or a transfer is waiting for the display inside this event: let every wait
        // return at once so that it unwinds (a transfer ends with its abort), and leave the
        // event loops as soon as it has.
        modLumo::AbandonWaits();
        QCoreApplication::exit(0);
    }
}

// --- Display type -------------------------------------------------------------------------

void frmMain::FillFixedLists() {
    m_pSetting->FillFixedLists();
    m_pVelt->FillFixedLists();
    m_pSetting->HideTypeSelection();
}

void frmMain::FillDisplayTypeList() {
    m_pSetting->FillDisplayTypeList();
    m_pEpson->FillExpandList();
}

void frmMain::FillModeList() {
    m_pVelt->FillModeList(DisplayType::FromCode(m_iDisplayType));
}

void frmMain::ApplyDisplayGeometry() {
    const DisplayType type = DisplayType::FromCode(m_iDisplayType);
    m_pVelt->ApplyGeometry(type);
    m_pEpson->ApplyGeometry(type);
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

void frmMain::ApplyDisplayType(const DisplayType& i_type) {
    m_iDisplayType = i_type.code;
    ApplyTabAvailability();
    m_pVelt->ApplyDisplayType(i_type);
    m_pEpson->ApplyDisplayType(i_type);
    m_pSetting->ApplyDisplayType(i_type);
}

// --- Secondary windows --------------------------------------------------------------------

void frmMain::cmdFirmwireUpdate_Click() {
    // While a transfer runs the button brings its dialog back instead of starting another.
    if (!RunFirmwareUpdate(m_lumo(), this)) {
        RefusedForTransfer();
    }
}

void frmMain::TransferEnded() {
    // An open dialog tells the technician itself; a closed one would leave the run's end
    // untold, and the status box with the text of the command before it.
    if (FirmwareDialogShown()) {
        return;
    }
    txtStatus->setText(FirmwareRun::EndText(m_lumo().LastTransferOutcome()));
    txtStatus->setToolTip(QString());
}

void frmMain::cmdMis_Click() {
    if (RefusedForTransfer()) {
        return;
    }
    // A fresh window (and screen model) for every opening.
    frmVT100 window(m_lumo(), this);
    window.exec();
}

void frmMain::cmdLineMonitor_Click() {
    // One monitor at a time, beside the main window; it runs no command of its own.
    if (!m_pLineMonitor) {
        m_pLineMonitor = new frmLineMonitor(LineTap::Shared(), this);
        m_pLineMonitor->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_pLineMonitor->show();
    m_pLineMonitor->raise();
    m_pLineMonitor->activateWindow();
}
