#pragma once

#include "panels/CommandHost.h"
#include "widgets/BusyPointer.h"

#include <QWidget>
#include <memory>

class AsciiPanel;
class CLumo;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The main window: four tab pages of device commands, the status box and Exit. Constructing it
// runs the start-up sequence; closing it ends the program.
class frmMain : public QWidget, public CommandHost {
    Q_OBJECT
    friend class StartupSequence;

public:
    explicit frmMain(QWidget* i_pParent = nullptr);
    ~frmMain() override;

    // The program's one device session, created on first use and never replaced.
    CLumo& m_lumo();

    // CommandHost
    CLumo& Lumo() override { return m_lumo(); }
    bool Busy() const override { return m_busy.Busy(); }
    bool RunCommand(bool i_blnStatus, const std::function<int()>& i_command) override;
    void Refuse(const QString& i_sMessage) override;
    bool Loading() const override { return m_blnLoading; }
    qint16 DisplayTypeCode() const override { return m_iDisplayType; }
    SettingPanel& Setting() override { return *m_pSetting; }
    VeltPanel& Velt() override { return *m_pVelt; }
    EpsonPanel& Epson() override { return *m_pEpson; }
    AsciiPanel& Ascii() { return *m_pAscii; }

    QTabWidget* SSTab1;
    QLineEdit* txtStatus;
    QPushButton* cmdExit;

    qint16 m_iDisplayType = 0;
    bool m_blnLoading = false;

    // Display-type handling.
    void FillDisplayTypeList();
    void FillModeList();
    void ApplyDisplayGeometry();
    void ApplyTabAvailability();

protected:
    void closeEvent(QCloseEvent* i_pEvent) override;

private:
    void cboLumoType_Click(int i_iIndex);
    void cmdFirmwireUpdate_Click();
    void cmdMis_Click();
    void ShowStatus(int i_iStatus);

    std::unique_ptr<CLumo> m_pLumo;
    BusyPointer m_busy{*this};
    SettingPanel* m_pSetting;
    VeltPanel* m_pVelt;
    EpsonPanel* m_pEpson;
    AsciiPanel* m_pAscii;
};
