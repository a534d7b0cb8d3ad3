#pragma once

#include "gui/panels/CommandHost.h"
#include "gui/widgets/BusyPointer.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class AsciiPanel;
class CLumo;
class EpsonPanel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class SettingPanel;
class VeltPanel;
class frmLineMonitor;
struct DisplayType;

// The main window: four tab pages of device commands, the status box and Exit. Constructing it
// runs the start-up sequence; closing it ends the program. The pages do not know each other:
// the window wires what one shows of another, and hands each the display type to shape itself.
class frmMain : public QWidget, public CommandHost {
    Q_OBJECT

public:
    explicit frmMain(QWidget* i_pParent = nullptr);
    ~frmMain() override;

    // The program's one device session, created on first use and never replaced.
    CLumo& m_lumo();

    // CommandHost
    CLumo& Lumo() override { return m_lumo(); }
    bool Busy() const override { return m_busy.Busy(); }
    bool RunCommand(bool i_blnStatus, const std::function<int()>& i_command) override;
    bool RunListCommand(const std::function<int()>& i_command) override;
    void ShowStatusText(const QString& i_sText, const QString& i_sToolTip) override;
    void Refuse(const QString& i_sMessage) override;
    bool Loading() const override { return m_blnLoading; }
    qint16 DisplayTypeCode() const override { return m_iDisplayType; }

    QTabWidget* SSTab1;
    QLineEdit* txtStatus;
    QPushButton* cmdExit;

    qint16 m_iDisplayType = 0;
    bool m_blnLoading = false;

protected:
    void closeEvent(QCloseEvent* i_pEvent) override;

private:
    void ConnectPanels();
    void RunStartup();

    // Display-type handling.
    void FillFixedLists();
    void FillDisplayTypeList();
    void FillModeList();
    void ApplyDisplayGeometry();
    void ApplyTabAvailability();
    void ApplyDisplayType(const DisplayType& i_type);

    void cmdFirmwireUpdate_Click();
    // A firmware run ended: the status box says how when its dialog is closed.
    void TransferEnded();
    void cmdMis_Click();
    void cmdLineMonitor_Click();
    void ShowStatus(int i_iStatus);
    // While a firmware transfer runs the port is its own: says so in the status box and
    // returns true, so that the caller leaves the port alone.
    bool RefusedForTransfer();

    std::unique_ptr<CLumo> m_pLumo;
    BusyPointer m_busy{*this};
    SettingPanel* m_pSetting;
    VeltPanel* m_pVelt;
    EpsonPanel* m_pEpson;
    AsciiPanel* m_pAscii;
    // The line monitor while it is open; it deletes itself when closed.
    QPointer<frmLineMonitor> m_pLineMonitor;
};
