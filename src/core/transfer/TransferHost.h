#pragma once

#include "core/transfer/XModemOutcome.h"

#include <QString>
#include <QtGlobal>

class MSComm;

// What the XModem engine sees of the window that hosts it: the port, the file and check type
// to send, the stop flag it looks at once per answer round, and the values it reports back
// (progress, the finish flag and how the run ended). The host starts the engine; the engine
// never reaches back for anything else.
class TransferHost {
public:
    virtual ~TransferHost() = default;

    virtual MSComm& MSComm1() = 0;

    virtual QString File() const = 0;
    // 0: 8-bit checksum, NAK start; 1: CRC-16, "C" start; any other value: checksum blocks,
    // no start wait.
    virtual qint32 CheckSumType() const = 0;

    virtual bool StopRequested() const = 0;
    virtual void ClearStop() = 0;

    // 0..100.
    virtual void setProgress(qint16 i_iProgress) = 0;
    virtual void setUpdateFirmwareFinish(bool i_blnFinish) = 0;
    virtual void setTransferOutcome(const XModemOutcome& i_outcome) = 0;
};
