#pragma once

#include "core/transfer/XModemOutcome.h"

#include <QString>

class CLumo;

// One firmware update on a session, from the loader switch to the end of the transfer, the
// same for the firmware dialog and the command-line tool:
//
//   FirmwareRun run(lumo);
//   run.Prepare(codeType);
//   if (run.SwitchToLoader() == 0) { run.Start(file, checkSumType); }
//   ... let the event loop run; now and then: if (run.Ended(outcome)) { ... }
class FirmwareRun {
public:
    explicit FirmwareRun(CLumo& io_lumo);

    // Before the loader switch: the image kind (0 encrypted "PX", 1 plain "ZX"); forgets the
    // previous run's finish.
    void Prepare(qint32 i_iCodeType);

    // The loader dialogue; 0, or the session's status when it failed.
    int SwitchToLoader();

    // Hands the file and its check type (0 checksum, 1 CRC) to the sender and arms it.
    void Start(const QString& i_sFile, qint32 i_iCheckSumType);

    // True once the transfer started by Start has ended, whichever way, with how in
    // o_outcome: after the sender's finish flag, or when a run that ended before its blocks
    // (or a Stop before it began) is no longer running. A Stop before the first round counts
    // as stopped. Reports each run once.
    bool Ended(XModemOutcome& o_outcome);

    // After a run that was stopped or given up: when the loader had been asked for the image
    // ("PX" or "ZX" went out) but the sender never began its first round, writes XModem's abort
    // (CAN CAN), so that the loader drops back and waits for ESC "Load" again. A sender that
    // began writes the abort itself.
    void AbortUnsent();

    // What the technician is told about an ended run.
    static QString EndText(const XModemOutcome& i_outcome);

private:
    CLumo& m_lumo;
    bool m_blnTransferStarted = false;
    bool m_blnImageAsked = false;
};
