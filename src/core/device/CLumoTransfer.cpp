// The file-transfer and firmware-update members of CLumo.
#include "core/device/CLumo.h"

#include "core/common/LumoStatus.h"
#include "core/device/frmCLumo.h"
#include "core/protocol/modLumo.h"
#include "core/serial/MSComm.h"

using namespace LumoStatus;

namespace {

constexpr int kPromptPollMs = 500;
constexpr int kPromptSilentPolls = 120;
// A display that keeps sending without a prompt is given this long in all.
constexpr qint64 kPromptTalkingMs = 10000;

} // namespace

QString CLumo::File() const {
    return m_sFile;
}

void CLumo::setFile(const QString& i_sFile) {
    m_sFile = i_sFile;
    m_host->setFile(i_sFile);
}

qint32 CLumo::CheckSumType() const {
    return m_CheckSumType;
}

void CLumo::setCheckSumType(qint32 i_CheckSum) {
    m_CheckSumType = i_CheckSum;
    m_host->setCheckSumType(i_CheckSum);
}

void CLumo::StartSendFile() {
    m_host->ArmTransfer();
}

void CLumo::StopSendFile() {
    m_host->Timer1.stop();
    m_host->StopSendFile();
}

qint16 CLumo::Progress() const {
    return m_host->Progress();
}

bool CLumo::UpdateFirmwareFinish() const {
    return m_host->UpdateFirmwareFinish();
}

void CLumo::setUpdateFirmwareFinish(bool i_blnUpdateFirmwareFinish) {
    m_host->setUpdateFirmwareFinish(i_blnUpdateFirmwareFinish);
}

qint32 CLumo::FirmwareCodeType() const {
    return m_FirmwareCodeType;
}

void CLumo::setFirmwareCodeType(qint32 i_CodeType) {
    m_FirmwareCodeType = i_CodeType;
}

XModemOutcome CLumo::LastTransferOutcome() const {
    return m_host->TransferOutcome();
}

bool CLumo::TransferRunning() const {
    return m_host->TransferRunning();
}

int CLumo::FirmwareUpdateMode() {
    const QByteArray load = QByteArrayLiteral("\x1BLoad");
    const QByteArray xa = QByteArrayLiteral("XA\r");
    const QByteArray image =
        m_FirmwareCodeType == 0 ? QByteArrayLiteral("PX\r\n") : QByteArrayLiteral("ZX\r\n");
    // The loader dialogue is part of the transfer: nothing else may use the port meanwhile.
    m_host->setSwitching(true);
    struct SwitchingEnds {
        frmCLumo& host;
        ~SwitchingEnds() { host.setSwitching(false); }
    } switchingEnds{*m_host};
    // The loader is entered from the display's own command set. The port stays open for the
    // transfer that follows.
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Open, [&](int) {
        m_comm().Output(load);
        int result = WaitForPrompt();
        m_host->setProgress(20);
        if (result != Success) {
            return result;
        }
        m_comm().Output(xa);
        result = WaitForPrompt();
        m_host->setProgress(80);
        if (result != Success) {
            return result;
        }
        m_comm().Output(image);
        m_host->setProgress(100);
        return Success;
    });
}

int CLumo::WaitForPrompt() {
    MSComm& comm = m_comm();
    const qint64 start = modLumo::Clock().NowMs();
    for (int silent = 0; silent < kPromptSilentPolls;) {
        modLumo::WaitMilliseconds(kPromptPollMs);
        if (modLumo::StopRequested()) {
            return Cancelled;
        }
        if (comm.InBufferCount() > 0) {
            if (m_host->Progress() < 100) {
                m_host->setProgress(static_cast<qint16>(m_host->Progress() + 1));
            }
            if (comm.Input().contains('>')) {
                return Success;
            }
            if (modLumo::Clock().NowMs() - start > kPromptTalkingMs) {
                return NoResponse; // talking, but never the prompt
            }
        } else {
            ++silent;
        }
    }
    return NoResponse;
}
