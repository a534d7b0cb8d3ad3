#pragma once

#include "core/transfer/FirmwareFile.h"
#include "core/transfer/XModemOutcome.h"

#include <QByteArray>
#include <functional>

class MSComm;
class TransferHost;

// One run of the XModem sender on the host's port: start wait, the blocks, the end sequence.
// Every wait goes through modLumo::WaitMilliseconds, so the user interface stays live and the
// host's stop flag is seen once per answer round.
//
// A run that has every block accepted ends with EOT and the closing command; any other run
// (stopped, cancelled by the display, no start request, no answer, given up, the program
// ending) ends with XModem's abort instead, so that the display stays in its loader.
//
// A file or port step that fails asks the technician Retry or Cancel. Retry tries the same
// step again (reopening the port if it closed itself); Cancel ends the run, which is reported
// as abandoned.
class XModemEngine {
public:
    explicit XModemEngine(TransferHost& i_host);

    void Run();

private:
    enum class BlockResult { Accepted, NoAnswer, CancelledByDisplay, Stopped, Abandoned };

    // Runs i_action until it no longer throws LumoError, asking between attempts. False when
    // the technician cancels or the program is ending.
    bool Step(const std::function<void()>& i_action);

    bool Stopping() const;
    MSComm& Comm() const;
    void OpenPort() const;
    void Write(const QByteArray& i_bBytes) const;
    // Reads what is pending into o_bPending (left as it is when nothing is); false when the
    // step was given up.
    bool ReadPending(QByteArray& o_bPending);

    // Waits for one of the bytes of i_bStarts and takes the check type it asks for. False
    // when the run is over before any block (timeout, cancel, program ending).
    bool AwaitStartRequest(const QByteArray& i_bStarts);
    BlockResult SendBlock(const QByteArray& i_bData, qint64 i_lIndex);
    bool SendBlocks();
    // EOT, the receiver's answer drained, then ESC and "R" CR.
    void EndSequence();
    // Two CAN bytes instead of EOT; nothing more is written.
    void Abort();
    void Publish();

    TransferHost& m_host;
    FirmwareFile m_file;
    XModemOutcome m_outcome;
    // The host's check type, or the one the start request asked for when it is followed.
    qint32 m_iCheckSumType = 0;
};
