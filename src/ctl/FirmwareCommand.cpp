#include "ctl/FirmwareCommand.h"

#include "core/common/AppInfo.h"
#include "core/common/LumoError.h"
#include "core/common/LumoStatus.h"
#include "core/device/CLumo.h"
#include "core/device/FirmwareRun.h"
#include "core/settings/SettingsStore.h"
#include "core/transfer/FirmwareFile.h"
#include "core/transfer/ServicePassword.h"
#include "core/transfer/XModemBlock.h"
#include "ctl/ArgumentValues.h"
#include "ctl/ConsoleStreams.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReport.h"
#include "ctl/InterruptWatch.h"
#include "ctl/PasswordSource.h"
#include "ctl/PortChoice.h"
#include "ctl/StatusLine.h"
#include "ctl/TransferProgress.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>

namespace {

using End = XModemOutcome::End;

// The firmware dialog's stored list row (sections "Xmodem" and "Code", key "Type").
int storedType(const QString& i_sSection) {
    bool ok = false;
    const int row = SettingsStore::GetSetting(AppInfo::Name(), i_sSection, QStringLiteral("Type"),
                                              QStringLiteral("0"))
                        .trimmed()
                        .toInt(&ok);
    return ok && (row == 0 || row == 1) ? row : 0;
}

struct Ending {
    const char* name;
    int status;
    int exit;
};

Ending endingOf(End i_end) {
    switch (i_end) {
    case End::Complete:
        return {"complete", LumoStatus::Success, 0};
    case End::NoAnswer:
        return {"no-answer", LumoStatus::NoResponse, 4};
    case End::NoStartRequest:
        return {"no-start-request", LumoStatus::NoResponse, 4};
    case End::CancelledByDisplay:
        return {"cancelled-by-display", LumoStatus::Nack, 6};
    case End::Abandoned:
        return {"abandoned", LumoStatus::NotConnected, 3};
    case End::StoppedByUser:
    case End::NotStarted:
    case End::Running:
        break;
    }
    return {"stopped", LumoStatus::Cancelled, CtlReport::kInterrupted};
}

// Runs the event loop until the transfer has ended, showing its progress.
XModemOutcome awaitEnd(CLumo& io_lumo, FirmwareRun& io_run, bool i_blnShowProgress) {
    TransferProgress progress(ConsoleStreams::ErrorIsTerminal());
    XModemOutcome outcome;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50); // a block takes more than 120 ms
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (i_blnShowProgress) {
            const XModemOutcome now = io_lumo.LastTransferOutcome();
            if (now.end == End::Running && now.blocks > 0) {
                progress.Show(io_lumo.Progress(), now.block, now.blocks);
            }
        }
        if (io_run.Ended(outcome)) {
            poll.stop();
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    if (i_blnShowProgress && outcome.end == End::Complete) {
        progress.Show(100, outcome.blocks, outcome.blocks);
    }
    progress.Done();
    return outcome;
}

} // namespace

namespace FirmwareCommand {

bool CheckArguments(const CtlOptions& i_options, QString& o_sError) {
    if (i_options.args.size() != 1) {
        o_sError = i_options.args.isEmpty() ? QStringLiteral("firmware: missing FILE")
                                            : QStringLiteral("firmware: one FILE only");
        return false;
    }
    if (!i_options.codeType.isEmpty() && !ArgumentValues::CodeType(i_options.codeType)) {
        o_sError = QStringLiteral("--type %1: px or zx").arg(i_options.codeType);
        return false;
    }
    return true;
}

void Run(const CtlOptions& i_options, CLumo& io_lumo, const PortChoice& i_port,
         CtlReport& io_report) {
    QString usage;
    if (!CheckArguments(i_options, usage)) {
        io_report.Usage(usage);
        return;
    }
    const int codeType = i_options.codeType.isEmpty()
                             ? storedType(QStringLiteral("Code"))
                             : *ArgumentValues::CodeType(i_options.codeType);
    // Without --crc or --checksum the display's start request decides, as with sx.
    const int checkSumType = i_options.checkSumType.value_or(XModemBlock::FollowStartRequest);

    const QString file = i_options.args.first();
    try {
        FirmwareFile::CheckImage(file);
    } catch (const LumoError& e) {
        io_report.Fail(CtlReport::kNoInput, e.description());
        return;
    }
    QString password;
    QString error;
    const bool read = PasswordSource::Read(i_options.passwordFile, password, error);
    if (InterruptWatch::Requested()) {
        io_report.Fail(InterruptWatch::ExitStatus(), QStringLiteral("interrupted"));
        return;
    }
    if (!read) {
        io_report.Fail(CtlReport::kNoInput, error);
        return;
    }
    if (!ServicePassword::Accepts(password)) {
        io_report.Fail(CtlReport::kPermission, QStringLiteral("Invalid Password!"));
        return;
    }

    FirmwareRun run(io_lumo);
    run.Prepare(codeType);
    const int switched = run.SwitchToLoader();
    if (switched != LumoStatus::Success || InterruptWatch::Requested()) {
        run.AbortUnsent();
        io_lumo.Disconnect();
        if (InterruptWatch::Requested()) {
            io_report.Fail(InterruptWatch::ExitStatus(), QStringLiteral("interrupted"));
        } else {
            StatusLine::Report(io_lumo, i_port, switched, io_report);
        }
        return;
    }
    run.Start(file, checkSumType);
    const XModemOutcome outcome = awaitEnd(io_lumo, run, !i_options.quiet && !i_options.json);
    run.AbortUnsent();
    io_lumo.Disconnect();

    const Ending ending = endingOf(outcome.end);
    const QString text = FirmwareRun::EndText(outcome);
    io_report.SetStatus(ending.status, text);
    io_report.SetExit(ending.exit);
    io_report.Results()
        .Add(QStringLiteral("blocks"), outcome.blocks)
        .Add(QStringLiteral("accepted"),
             outcome.end == End::Complete ? outcome.blocks : std::max<qint64>(0, outcome.block - 1))
        .Add(QStringLiteral("outcome"), QLatin1String(ending.name));
    io_report.Say(text);
}

} // namespace FirmwareCommand
