#include "core/transfer/XModemEngine.h"

#include "core/common/LumoError.h"
#include "core/common/Prompt.h"
#include "core/protocol/modLumo.h"
#include "core/serial/MSComm.h"
#include "core/transfer/TransferHost.h"
#include "core/transfer/XModemAnswer.h"
#include "core/transfer/XModemBlock.h"

#include <algorithm>

namespace {

constexpr int kStartPolls = 201;
constexpr int kStartPollMs = 100;
constexpr int kRepeatEvery = 100; // silent rounds before a block is written again
constexpr int kMaxRounds = 1500;  // more rounds than this: no answer

using End = XModemOutcome::End;

// The program ending, or a stop request (lumoq4ctl's signals), ends every wait at once.
bool WaitsEnded() {
    return modLumo::WaitsAbandoned() || modLumo::StopRequested();
}

// How a run ends when a step was given up: the program ending or a stop request counts as the
// technician stopping the transfer, anything else as a failure the technician chose not to
// retry.
End GivenUp() {
    return WaitsEnded() ? End::StoppedByUser : End::Abandoned;
}

// Tells the line monitor which kind of blocks follow, once the check type is known.
void noteContext(MSComm& io_comm, qint32 i_iCheckSumType) {
    if (i_iCheckSumType == 0 || i_iCheckSumType == 1) {
        io_comm.NoteContext(i_iCheckSumType == 1 ? LineContext::XModemCrc
                                                 : LineContext::XModemChecksum);
    }
}

} // namespace

XModemEngine::XModemEngine(TransferHost& i_host) : m_host(i_host) {}

MSComm& XModemEngine::Comm() const {
    return m_host.MSComm1();
}

void XModemEngine::OpenPort() const {
    if (!Comm().PortOpen()) {
        Comm().setPortOpen(true);
    }
}

void XModemEngine::Write(const QByteArray& i_bBytes) const {
    OpenPort();
    Comm().Output(i_bBytes);
}

bool XModemEngine::Stopping() const {
    return m_host.StopRequested() || WaitsEnded();
}

bool XModemEngine::Step(const std::function<void()>& i_action) {
    for (;;) {
        try {
            i_action();
            return true;
        } catch (const LumoError& e) {
            if (WaitsEnded() ||
                !Prompt::Current().AskRetry(QString::number(e.number()), e.description())) {
                if (m_outcome.failure.isEmpty()) {
                    m_outcome.failure = e.description();
                }
                return false;
            }
        }
    }
}

bool XModemEngine::ReadPending(QByteArray& o_bPending) {
    return Step([this, &o_bPending] {
        OpenPort();
        if (Comm().InBufferCount() > 0) {
            o_bPending = Comm().Input();
        }
    });
}

void XModemEngine::Publish() {
    m_host.setTransferOutcome(m_outcome);
}

void XModemEngine::Run() {
    m_host.ClearStop();
    m_host.setUpdateFirmwareFinish(false);
    m_outcome = XModemOutcome();
    m_outcome.end = End::Running;
    Publish();

    if (!Step([this] { OpenPort(); })) {
        m_outcome.end = GivenUp(); // the port never opened: nothing can be told to the loader
        Publish();
        return;
    }
    m_host.setProgress(0);
    m_iCheckSumType = m_host.CheckSumType();
    // The line monitor learns the kind of blocks before the start request says it.
    noteContext(Comm(), m_iCheckSumType);

    const bool follow = m_iCheckSumType == XModemBlock::FollowStartRequest;
    const std::optional<char> start = XModemBlock::StartRequest(m_iCheckSumType);
    QByteArray starts;
    if (follow) {
        starts = QByteArray(1, 'C') + XModemBlock::NAK;
    } else if (start) {
        starts = QByteArray(1, *start);
    }
    if (!starts.isEmpty() && !AwaitStartRequest(starts)) {
        Abort();
        Publish();
        return;
    }

    const QString path = m_host.File();
    if (!Step([this, &path] { m_file.Open(path); })) {
        m_outcome.end = GivenUp();
        Abort();
        Publish();
        return;
    }

    if (SendBlocks()) {
        m_outcome.end = End::Complete;
        EndSequence();
    } else {
        Abort();
    }
    m_file.Close();
    Publish();
    m_host.setUpdateFirmwareFinish(true);
}

bool XModemEngine::AwaitStartRequest(const QByteArray& i_bStarts) {
    // In a run of one check type, the start request of the other type: the loader asks for the
    // other kind of block, which the technician is told when the wait ends without the right one.
    const bool follow = m_iCheckSumType == XModemBlock::FollowStartRequest;
    const qint32 otherType = m_iCheckSumType == 1 ? 0 : 1;
    const char other = follow ? '\0' : *XModemBlock::StartRequest(otherType);
    for (int poll = 0; poll < kStartPolls; ++poll) {
        modLumo::WaitMilliseconds(kStartPollMs);
        if (Stopping()) {
            m_outcome.end = End::StoppedByUser;
            return false;
        }
        QByteArray pending; // consumed whatever it holds
        if (!ReadPending(pending)) {
            m_outcome.end = GivenUp();
            return false;
        }
        // The first start byte of the read decides, as for a receiver that asked once.
        const auto seen = std::find_if(pending.cbegin(), pending.cend(),
                                       [&i_bStarts](char c) { return i_bStarts.contains(c); });
        if (seen != pending.cend()) {
            if (m_iCheckSumType == XModemBlock::FollowStartRequest) {
                m_iCheckSumType = *seen == 'C' ? 1 : 0;
                noteContext(Comm(), m_iCheckSumType);
            }
            return true;
        }
        if (!follow && pending.contains(other)) {
            m_outcome.askedCheckSumType = otherType;
        }
    }
    m_outcome.end = End::NoStartRequest;
    return false;
}

bool XModemEngine::SendBlocks() {
    const qint64 size = m_file.Size();
    const qint64 count = size / XModemBlock::DataSize;
    const int rest = static_cast<int>(size % XModemBlock::DataSize);
    m_outcome.blocks = count + (rest > 0 ? 1 : 0);

    const auto record = [this](qint64 i_lIndex, int i_iLength, QByteArray& o_bData) {
        return Step([&] { o_bData = m_file.ReadRecord(i_lIndex - 1, i_iLength); });
    };
    const auto ended = [this](BlockResult i_eResult) {
        switch (i_eResult) {
        case BlockResult::Accepted:
            return false;
        case BlockResult::NoAnswer:
            m_outcome.end = End::NoAnswer;
            break;
        case BlockResult::CancelledByDisplay:
            m_outcome.end = End::CancelledByDisplay;
            break;
        case BlockResult::Stopped:
            m_outcome.end = End::StoppedByUser;
            break;
        case BlockResult::Abandoned:
            m_outcome.end = GivenUp();
            break;
        }
        return true;
    };

    // The last record of a file whose size is not a multiple of 128 is sent as a block padded
    // with SUB; like every other block it must be accepted, and any other end (no answer, a
    // CAN, a stop) aborts the run with the display keeping its old image. The stop flag is looked
    // at before every block as well as in every answer round: a display that accepts each block at
    // once would otherwise never let a Stop be seen.
    for (qint64 index = 1; index <= m_outcome.blocks; ++index) {
        const bool padded = index > count;
        m_outcome.block = index;
        Publish(); // running, at this block: a progress display can say where the run is
        if (Stopping()) {
            ended(BlockResult::Stopped);
            return false;
        }
        QByteArray data;
        const BlockResult result = record(index, padded ? rest : XModemBlock::DataSize, data)
                                       ? SendBlock(padded ? XModemBlock::Padded(data) : data, index)
                                       : BlockResult::Abandoned;
        if (padded) {
            m_host.setProgress(100);
        }
        if (ended(result)) {
            return false;
        }
        if (!padded) {
            m_host.setProgress(XModemBlock::ProgressAfter(index, count));
        }
    }
    if (rest == 0) {
        m_host.setProgress(100);
    }
    return true;
}

XModemEngine::BlockResult XModemEngine::SendBlock(const QByteArray& i_bData, qint64 i_lIndex) {
    const QByteArray header = XModemBlock::Header(i_lIndex);
    const QByteArray trailer = XModemBlock::Trailer(i_bData, m_iCheckSumType);
    // Three writes, each its own step: a write that fails is tried again on its own, so that
    // a header already on the line is not sent a second time.
    const auto writeBlock = [&] {
        return Step([&] { Write(header); }) && Step([&] { Write(i_bData); }) &&
               Step([&] { Write(trailer); });
    };
    if (!writeBlock()) {
        return BlockResult::Abandoned;
    }
    for (int round = 0;;) {
        // Two waits back to back, not one of 120 ms: each wait ends only once strictly more
        // than its time has passed, so a round lasts a little over 120 ms, the pace that the
        // repeat after 100 silent rounds (about 12 s) and the give-up after 1501 rounds (about
        // 3 minutes) are counted in. One wait of 120 ms would make every round a tick shorter.
        modLumo::WaitMilliseconds(20);
        modLumo::WaitMilliseconds(100);
        QByteArray answer;
        if (!ReadPending(answer)) {
            return BlockResult::Abandoned;
        }
        if (answer.isEmpty()) {
            if (round % kRepeatEvery == kRepeatEvery - 1 && !writeBlock()) {
                return BlockResult::Abandoned;
            }
            ++round;
        } else {
            switch (XModemAnswer::Classify(answer)) {
            case XModemAnswer::Meaning::Accepted:
                return BlockResult::Accepted;
            case XModemAnswer::Meaning::Cancelled:
                return BlockResult::CancelledByDisplay;
            case XModemAnswer::Meaning::Ignored:
                ++round;
                break;
            case XModemAnswer::Meaning::Rejected:
                if (!writeBlock()) {
                    return BlockResult::Abandoned;
                }
                ++round;
                break;
            }
        }
        if (round > kMaxRounds) {
            return BlockResult::NoAnswer;
        }
        if (Stopping()) {
            return BlockResult::Stopped;
        }
    }
}

void XModemEngine::EndSequence() {
    // Once a step of the end sequence is cancelled, the rest of it is not written either: the
    // line is gone.
    bool lineUp = true;
    const auto step = [&](const std::function<void()>& i_action) {
        lineUp = lineUp && Step(i_action);
    };
    modLumo::WaitMilliseconds(100);
    step([this] { Write(QByteArray(1, XModemBlock::EOT)); });
    m_host.setProgress(0);
    modLumo::WaitMilliseconds(500);
    step([this] {
        OpenPort();
        Comm().Input();
    });
    modLumo::WaitMilliseconds(100);
    step([this] { Write(XModemBlock::RebootPrefix()); });
    modLumo::WaitMilliseconds(100);
    step([this] { Write(XModemBlock::RebootCommand()); });
    if (!lineUp) {
        m_outcome.end = GivenUp();
    }
}

void XModemEngine::Abort() {
    // The loader must not take a part of the image for the whole: no EOT and no closing command
    // (which would restart the display on a truncated image), but XModem's abort, after which
    // it drops the part it has and waits in its loader for the file again. Written once, without
    // asking: when the line is gone there is nobody left to tell.
    modLumo::WaitMilliseconds(100);
    try {
        Write(XModemBlock::Abort());
    } catch (const LumoError&) {
    }
    m_host.setProgress(0);
}
