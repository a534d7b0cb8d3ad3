#include "core/device/FirmwareRun.h"

#include "core/device/CLumo.h"
#include "core/transfer/XModemBlock.h"

FirmwareRun::FirmwareRun(CLumo& io_lumo) : m_lumo(io_lumo) {}

void FirmwareRun::Prepare(qint32 i_iCodeType) {
    m_blnTransferStarted = false;
    m_blnImageAsked = false;
    m_lumo.setFirmwareCodeType(i_iCodeType);
    m_lumo.setUpdateFirmwareFinish(false);
}

int FirmwareRun::SwitchToLoader() {
    const int status = m_lumo.FirmwareUpdateMode();
    m_blnImageAsked = status == 0;
    return status;
}

void FirmwareRun::Start(const QString& i_sFile, qint32 i_iCheckSumType) {
    m_lumo.setCheckSumType(i_iCheckSumType);
    m_lumo.setFile(i_sFile);
    m_lumo.StartSendFile();
    m_blnTransferStarted = true;
}

bool FirmwareRun::Ended(XModemOutcome& o_outcome) {
    XModemOutcome outcome = m_lumo.LastTransferOutcome();
    // The finish flag comes after every run that reached its blocks; a run that ended before
    // them (no start request, the file or port given up) or a Stop before the run began is seen
    // through the transfer no longer running.
    if (!m_lumo.UpdateFirmwareFinish() && !(m_blnTransferStarted && !m_lumo.TransferRunning())) {
        return false;
    }
    if (outcome.end == XModemOutcome::End::NotStarted) {
        outcome.end = XModemOutcome::End::StoppedByUser; // stopped before its first round
    }
    m_blnTransferStarted = false;
    o_outcome = outcome;
    return true;
}

void FirmwareRun::AbortUnsent() {
    if (m_blnImageAsked && !m_lumo.TransferRunning() &&
        m_lumo.LastTransferOutcome().end == XModemOutcome::End::NotStarted) {
        m_lumo.SendBytes(XModemBlock::Abort());
    }
    m_blnImageAsked = false;
}

QString FirmwareRun::EndText(const XModemOutcome& i_outcome) {
    if (i_outcome.end == XModemOutcome::End::Complete) {
        return QStringLiteral("Firmware Update OK!");
    }
    return i_outcome.EndedEarly() ? i_outcome.Text()
                                  : QStringLiteral("Firmware update ended without a result.");
}
