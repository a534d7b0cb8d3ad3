#include "transfer/XModemEngine.h"

#include "common/LumoError.h"
#include "common/Prompt.h"
#include "device/MSComm.h"
#include "device/modLumo.h"
#include "transfer/XModemAnswer.h"
#include "transfer/XModemBlock.h"
#include "transfer/frmCLumo.h"

namespace {

constexpr int kStartPolls = 201;
constexpr int kStartPollMs = 100;
constexpr int kRepeatEvery = 100; // silent rounds before a block is written again
constexpr int kMaxRounds = 1500;  // more rounds than this: no answer

using End = XModemOutcome::End;

} // namespace

XModemEngine::XModemEngine(frmCLumo& i_host) : m_host(i_host) {}

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
    return m_host.StopRequested() || modLumo::WaitsAbandoned();
}

bool XModemEngine::Step(const std::function<void()>& i_action) {
    for (;;) {
        try {
            i_action();
            return true;
        } catch (const LumoError& e) {
            if (modLumo::WaitsAbandoned() ||
                !Prompt::Current().AskRetry(QString::number(e.number()), e.description())) {
                if (m_outcome.failure.isEmpty()) {
                    m_outcome.failure = e.description();
                }
                return false;
            }
        }
    }
}

void XModemEngine::Publish() {
    m_host.setTransferOutcome(m_outcome);
}

void XModemEngine::Run() {
    m_host.Timer1.stop();
    m_host.ClearStop();
    m_host.setUpdateFirmwareFinish(false);
    m_outcome = XModemOutcome();
    m_outcome.end = End::Running;
    Publish();

    if (!Step([this] { OpenPort(); })) {
        m_outcome.end = modLumo::WaitsAbandoned() ? End::StoppedByUser : End::Abandoned;
        Publish();
        return;
    }
    m_host.setProgress(0);

    const std::optional<char> start = XModemBlock::StartRequest(m_host.CheckSumType());
    if (start && !AwaitStartRequest(*start)) {
        Publish();
        return;
    }

    const QString path = m_host.File();
    if (!Step([this, &path] { m_file.Open(path); })) {
        m_outcome.end = modLumo::WaitsAbandoned() ? End::StoppedByUser : End::Abandoned;
        Publish();
        return;
    }

    if (SendBlocks()) {
        m_outcome.end = End::Complete;
    }
    EndSequence();
}

bool XModemEngine::AwaitStartRequest(char i_cStart) {
    for (int poll = 0; poll < kStartPolls; ++poll) {
        modLumo::WaitMilliseconds(kStartPollMs);
        if (modLumo::WaitsAbandoned()) {
            m_outcome.end = End::StoppedByUser;
            return false;
        }
        bool seen = false;
        const bool ok = Step([this, i_cStart, &seen] {
            OpenPort();
            if (Comm().InBufferCount() > 0) {
                seen = Comm().Input().contains(i_cStart);
            }
        });
        if (!ok) {
            m_outcome.end = modLumo::WaitsAbandoned() ? End::StoppedByUser : End::Abandoned;
            return false;
        }
        if (seen) {
            return true;
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
            m_outcome.end = modLumo::WaitsAbandoned() ? End::StoppedByUser : End::Abandoned;
            break;
        }
        return true;
    };

    for (qint64 index = 1; index <= count; ++index) {
        m_outcome.block = index;
        QByteArray data;
        if (ended(record(index, XModemBlock::DataSize, data) ? SendBlock(data, index)
                                                             : BlockResult::Abandoned)) {
            return false;
        }
        m_host.setProgress(XModemBlock::ProgressAfter(index, count));
    }
    if (rest == 0) {
        m_host.setProgress(100);
        return true;
    }
    m_outcome.block = count + 1;
    QByteArray data;
    const BlockResult last = record(count + 1, rest, data)
                                 ? SendBlock(XModemBlock::Padded(data), count + 1)
                                 : BlockResult::Abandoned;
    m_host.setProgress(100);
    return !ended(last);
}

XModemEngine::BlockResult XModemEngine::SendBlock(const QByteArray& i_bData, qint64 i_lIndex) {
    const QByteArray header = XModemBlock::Header(i_lIndex);
    const QByteArray trailer = XModemBlock::Trailer(i_bData, m_host.CheckSumType());
    const auto writeBlock = [&] {
        return Step([&] {
            Write(header);
            Write(i_bData);
            Write(trailer);
        });
    };
    if (!writeBlock()) {
        return BlockResult::Abandoned;
    }
    for (int round = 0;;) {
        modLumo::WaitMilliseconds(20);
        modLumo::WaitMilliseconds(100);
        QByteArray answer;
        if (!Step([&] {
                OpenPort();
                if (Comm().InBufferCount() > 0) {
                    answer = Comm().Input();
                }
            })) {
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
    m_file.Close();
    if (!lineUp && !m_outcome.EndedEarly()) {
        m_outcome.end = modLumo::WaitsAbandoned() ? End::StoppedByUser : End::Abandoned;
    }
    Publish();
    m_host.setUpdateFirmwareFinish(true);
}
