#pragma once

#include "transfer/FirmwareFile.h"
#include "transfer/XModemOutcome.h"

#include <QByteArray>
#include <functional>

class MSComm;
class TransferHost;

// One run of the XModem sender on the host's port: start wait, the blocks, the end sequence.
// Every wait goes through modLumo::WaitMilliseconds, so the user interface stays live and the
// host's stop flag is seen once per answer round.
//
// A file or port step that fails asks the technician Retry or Cancel. Retry tries the same
// step again (reopening the port if it closed itself); Cancel ends the run, with the end
// sequence once the file was opened, and the run is reported as abandoned.
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

    // False when the run is over before any block (timeout, cancel, program ending).
    bool AwaitStartRequest(char i_cStart);
    BlockResult SendBlock(const QByteArray& i_bData, qint64 i_lIndex);
    bool SendBlocks();
    void EndSequence();
    void Publish();

    TransferHost& m_host;
    FirmwareFile m_file;
    XModemOutcome m_outcome;
};
