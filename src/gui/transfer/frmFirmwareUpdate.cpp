#include "gui/transfer/frmFirmwareUpdate.h"

#include "core/common/AppInfo.h"
#include "core/common/LumoError.h"
#include "core/common/LumoStatus.h"
#include "core/common/NumberText.h"
#include "core/device/CLumo.h"
#include "core/device/FirmwareRun.h"
#include "core/settings/SettingsStore.h"
#include "core/transfer/FirmwareFile.h"
#include "gui/transfer/TransferMessages.h"
#include "gui/transfer/modGeneral.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

enum Button { SendButton = 0, CloseButton = 1, BrowseButton = 2 };

QLabel* makeLabel(const QString& i_sText, const QString& i_sName, QWidget* i_pParent) {
    auto* label = new QLabel(i_sText, i_pParent);
    label->setObjectName(i_sName);
    return label;
}

// The stored list index, or 0 when it is not a valid row of the list.
int storedIndex(const QString& i_sSection, int i_iRows) {
    try {
        const int index = NumberText::ReadInt16(SettingsStore::GetSetting(
            AppInfo::Name(), i_sSection, QStringLiteral("Type"), QStringLiteral("0")));
        return index >= 0 && index < i_iRows ? index : 0;
    } catch (const LumoError&) {
        return 0;
    }
}

QString storedFile() {
    const QString folder = AppInfo::ProgramFolder();
    return SettingsStore::GetSetting(folder, QStringLiteral("XModem"), QStringLiteral("File"),
                                     folder);
}

} // namespace

frmFirmwareUpdate::frmFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent)
    : QDialog(i_pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::MSWindowsFixedSizeDialogHint),
      m_lumo(i_lumo), m_run(i_lumo) {
    setWindowTitle(QStringLiteral("Firmware Update"));
    setObjectName(QStringLiteral("frmFirmwareUpdate"));

    Label2 = makeLabel(QStringLiteral("Using Protocol:"), QStringLiteral("Label2"), this);
    cboProtocol = new QComboBox(this);
    cboProtocol->setObjectName(QStringLiteral("cboProtocol"));
    cboProtocol->addItems({QStringLiteral("XModem - Checksum"), QStringLiteral("XModem - CRC")});
    Label2->setBuddy(cboProtocol);

    Label3 = makeLabel(QStringLiteral("Firmware Code:"), QStringLiteral("Label3"), this);
    cboType = new QComboBox(this);
    cboType->setObjectName(QStringLiteral("cboType"));
    cboType->addItems({QStringLiteral("Encripted - PX"), QStringLiteral("Not Encripted - ZX")});
    Label3->setBuddy(cboType);

    Label1 = makeLabel(QStringLiteral("File Name && Path:"), QStringLiteral("Label1"), this);
    txtFile = new QLineEdit(QStringLiteral("c:\\temp\\1.txt"), this);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setMinimumWidth(320);
    Label1->setBuddy(txtFile);

    const std::array<QString, 3> captions{QStringLiteral("&Send"), QStringLiteral("&Close"),
                                          QStringLiteral("&Browse...")};
    for (int i = 0; i < 3; ++i) {
        cmdCtrl[i] = new QPushButton(captions[i], this);
        cmdCtrl[i]->setObjectName(QStringLiteral("cmdCtrl(%1)").arg(i));
        cmdCtrl[i]->setAutoDefault(false);
        cmdCtrl[i]->setMinimumWidth(88);
        connect(cmdCtrl[i], &QPushButton::clicked, this, [this, i] { cmdCtrl_Click(i); });
    }
    cmdCtrl[BrowseButton]->setDefault(true);

    cmdStop = new QPushButton(QStringLiteral("S&top"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setAutoDefault(false);
    cmdStop->setMinimumWidth(88);
    cmdStop->setEnabled(false);
    cmdStop->setToolTip(QStringLiteral("Ends the transfer; the display stays in its loader"));
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setRange(0, 100);
    pb->setValue(0);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &frmFirmwareUpdate::Timer1_Timer);

    dlg = new QFileDialog(this);
    dlg->setObjectName(QStringLiteral("dlg"));
    dlg->setOption(QFileDialog::DontUseNativeDialog);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(cboProtocol, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(cboType, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(txtFile, 2, 1, 1, 2);
    grid->addWidget(cmdCtrl[BrowseButton], 2, 3);
    grid->addWidget(Line1, 3, 0, 1, 4);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    bottom->addWidget(pb, 1);
    bottom->addWidget(cmdStop);
    bottom->addWidget(cmdCtrl[SendButton]);
    bottom->addWidget(cmdCtrl[CloseButton]);
    grid->addLayout(bottom, 4, 0, 1, 4);
    grid->setColumnStretch(2, 1);

    LoadSettings();
    setFixedSize(sizeHint());
}

void frmFirmwareUpdate::LoadSettings() {
    cboProtocol->setCurrentIndex(storedIndex(QStringLiteral("Xmodem"), cboProtocol->count()));
    cboType->setCurrentIndex(storedIndex(QStringLiteral("Code"), cboType->count()));
    txtFile->setText(storedFile());
}

void frmFirmwareUpdate::done(int i_iResult) {
    Timer1->stop();
    SettingsStore::SaveSetting(AppInfo::Name(), QStringLiteral("Xmodem"), QStringLiteral("Type"),
                               QString::number(cboProtocol->currentIndex()));
    SettingsStore::SaveSetting(AppInfo::Name(), QStringLiteral("Code"), QStringLiteral("Type"),
                               QString::number(cboType->currentIndex()));
    QDialog::done(i_iResult);
}

void frmFirmwareUpdate::keyPressEvent(QKeyEvent* i_pEvent) {
    if (i_pEvent->key() == Qt::Key_Escape && i_pEvent->modifiers() == Qt::NoModifier) {
        // Esc is the Close button, and does nothing while Close is disabled.
        if (cmdCtrl[CloseButton]->isEnabled()) {
            cmdCtrl[CloseButton]->click();
        }
        return;
    }
    QDialog::keyPressEvent(i_pEvent);
}

void frmFirmwareUpdate::BringBack() {
    setWindowModality(Qt::ApplicationModal);
    pb->setValue(m_lumo.Progress());
    Timer1->start();
    show();
    raise();
    activateWindow();
}

void frmFirmwareUpdate::cmdStop_Click() {
    cmdStop->setEnabled(false);
    m_lumo.StopSendFile(); // the end is announced by the timer, as for every other end
}

void frmFirmwareUpdate::EnableButtons(bool i_blnEnabled) {
    for (QPushButton* button : cmdCtrl) {
        button->setEnabled(i_blnEnabled);
    }
}

void frmFirmwareUpdate::cmdCtrl_Click(int i_iIndex) {
    try {
        switch (i_iIndex) {
        case SendButton:
            Send();
            break;
        case CloseButton:
            m_lumo.StopSendFile();
            done(QDialog::Rejected);
            break;
        case BrowseButton:
            Browse();
            break;
        default:
            break;
        }
    } catch (const LumoError& e) {
        TransferMessages::Show(this, QMessageBox::NoIcon, QString::number(e.number()),
                               e.description());
    }
}

void frmFirmwareUpdate::Send() {
    FirmwareFile::CheckImage(txtFile->text());
    EnableButtons(false);
    m_run.Prepare(cboType->currentIndex());
    Timer1->start();
    const int result = m_run.SwitchToLoader();
    if (result != LumoStatus::Success) {
        TransferMessages::Show(this, QMessageBox::NoIcon, QString(),
                               QStringLiteral("Errcode: %1").arg(result));
        EnableButtons(true);
        return;
    }
    m_run.Start(txtFile->text(), cboProtocol->currentIndex());
    cmdStop->setEnabled(true);
}

void frmFirmwareUpdate::Browse() {
    QString chosen;
    if (modGeneral::ShowOpenFileDialog(*dlg, QStringLiteral("Sending File"), storedFile(),
                                       QStringLiteral("*.*|*.*"), chosen)) {
        SettingsStore::SaveSetting(AppInfo::ProgramFolder(), QStringLiteral("XModem"),
                                   QStringLiteral("File"), chosen);
        txtFile->setText(chosen);
    }
}

void frmFirmwareUpdate::Timer1_Timer() {
    pb->setValue(m_lumo.Progress());
    XModemOutcome outcome;
    if (!m_run.Ended(outcome)) {
        return;
    }
    Timer1->stop();
    cmdStop->setEnabled(false);
    if (outcome.end != XModemOutcome::End::Complete) {
        m_run.AbortUnsent(); // a Stop before the sender began still takes the loader back
    }
    TransferMessages::Show(this,
                           outcome.end == XModemOutcome::End::Complete ? QMessageBox::Information
                                                                       : QMessageBox::Warning,
                           QString(), FirmwareRun::EndText(outcome));
    EnableButtons(true);
}
