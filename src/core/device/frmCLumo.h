#pragma once

#include "core/serial/MSComm.h"
#include "core/transfer/TransferHost.h"
#include "core/transfer/XModemOutcome.h"

#include <QObject>
#include <QTimer>
#include <memory>

// The hidden host of the program's one serial port. It is never shown; every session shares
// it. It also carries the file sender: its one-shot Timer1 starts the XModem engine, which then
// runs the whole transfer inside that timer event, pacing itself with waits that keep the
// user interface live. The engine sees the host only as its TransferHost.
class frmCLumo : public QObject, public TransferHost {
    Q_OBJECT

public:
    // The one host, created on first use and parented to the application object.
    static frmCLumo& Instance();

    MSComm& MSComm1() override { return *m_pComm; }

    // Puts another serial component in place of the current one and returns the old one.
    // Tests use it to run the program over a scripted port.
    std::unique_ptr<MSComm> ReplaceComm(std::unique_ptr<MSComm> i_pComm);

    // The operating system's reason for the last failed open, for example
    // "/dev/ttyUSB0: Permission denied"; empty after a successful open.
    QString LastOpenFailure() const { return m_sLastOpenFailure; }
    void setLastOpenFailure(const QString& i_sReason) { m_sLastOpenFailure = i_sReason; }

    // --- File sender state, used through CLumo ---------------------------------------------
    QString File() const override { return m_sFile; }
    void setFile(const QString& i_sFile) { m_sFile = i_sFile; }

    qint32 CheckSumType() const override { return m_CheckSumType; }
    void setCheckSumType(qint32 i_CheckSum) { m_CheckSumType = i_CheckSum; }

    qint16 Progress() const { return m_iProgress; }
    void setProgress(qint16 i_iProgress) override { m_iProgress = i_iProgress; }

    bool UpdateFirmwareFinish() const { return m_blnUpdateFirmwareFinish; }
    void setUpdateFirmwareFinish(bool i_blnFinish) override {
        m_blnUpdateFirmwareFinish = i_blnFinish;
    }

    // Asks a running transfer to end after its current answer round.
    void StopSendFile() {
        m_blnStop = true;
        emit transferStateChanged();
    }
    bool StopRequested() const override { return m_blnStop; }
    void ClearStop() override { m_blnStop = false; }

    // Schedules one run of the engine about 200 ms from now; the outcome of the previous run
    // is forgotten.
    void ArmTransfer();

    // True from the loader switch of a firmware update to the end of its transfer: while the
    // switch talks to the loader, while the engine is armed and while it runs. The port belongs
    // to the transfer then; nothing else may touch it.
    bool TransferRunning() const { return m_blnSwitching || Timer1.isActive() || m_blnRunning; }
    void setSwitching(bool i_blnSwitching) {
        m_blnSwitching = i_blnSwitching;
        emit transferStateChanged();
    }

    // The reason the last close gave up on bytes the line did not take, for example
    // "Write failed: /dev/ttyUSB0: 812 bytes did not leave within 2213 ms and were discarded";
    // empty when every byte left.
    QString LastCloseFailure() const { return m_sLastCloseFailure; }
    void setLastCloseFailure(const QString& i_sReason) { m_sLastCloseFailure = i_sReason; }

    // How the last run ended.
    const XModemOutcome& TransferOutcome() const { return m_outcome; }
    void setTransferOutcome(const XModemOutcome& i_outcome) override { m_outcome = i_outcome; }

    // One-shot start timer of the file sender: 200 ms, disabled when the host is created.
    QTimer Timer1;

signals:
    // TransferRunning() may have changed: the loader switch began or ended, the engine was
    // armed, started, stopped or ended.
    void transferStateChanged();
    // A run of the engine has ended; TransferOutcome() says how.
    void transferEnded();

public slots:
    // The engine: one complete transfer. A tick that arrives while a run is in progress is
    // dropped.
    void Timer1_Timer();

private:
    explicit frmCLumo(QObject* i_pParent);
    ~frmCLumo() override;

    std::unique_ptr<MSComm> m_pComm;
    QString m_sLastOpenFailure;
    QString m_sLastCloseFailure;

    QString m_sFile;
    qint32 m_CheckSumType = 0;
    qint16 m_iProgress = 0;
    bool m_blnUpdateFirmwareFinish = false;
    bool m_blnStop = false;
    bool m_blnRunning = false;
    bool m_blnSwitching = false;
    XModemOutcome m_outcome;
};
