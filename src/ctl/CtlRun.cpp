#include "ctl/CtlRun.h"

#include "core/common/AppInfo.h"
#include "core/common/LumoStatus.h"
#include "core/common/Prompt.h"
#include "core/device/CLumo.h"
#include "core/protocol/modLumo.h"
#include "core/serial/LineTap.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReport.h"
#include "ctl/FirmwareCommand.h"
#include "ctl/InterruptWatch.h"
#include "ctl/LineTrace.h"
#include "ctl/NativeCommands.h"
#include "ctl/PortChoice.h"
#include "ctl/PortCommands.h"
#include "ctl/TerminalPrompt.h"

#include <cstdio>
#include <memory>

namespace {

void runCommand(const CtlOptions& i_options, CtlReport& io_report) {
    if (i_options.command == QLatin1String("ports")) {
        PortCommands::Ports(i_options, io_report);
        return;
    }
    QString error;
    // The arguments first: a command that cannot run is a usage error whatever the port.
    const bool firmware = i_options.command == QLatin1String("firmware");
    if (i_options.command != QLatin1String("find") &&
        !(firmware ? FirmwareCommand::CheckArguments(i_options, error)
                   : NativeCommands::CheckArguments(i_options, error))) {
        io_report.Usage(error);
        return;
    }
    PortChoice port;
    if (!PortChoice::Resolve(i_options, port, error)) {
        io_report.Usage(error);
        return;
    }
    // Ctrl+C, SIGTERM and SIGHUP end every wait at once; a transfer ends with XModem's abort.
    InterruptWatch watch;
    if (i_options.command == QLatin1String("find")) {
        PortCommands::Find(i_options, port, io_report);
        return;
    }
    CLumo lumo;
    port.Apply(lumo);
    io_report.SetPort(port.path);
    if (port.DefaultsToConsole()) {
        QString text;
        lumo.ErrorDescription(LumoStatus::OpenFailed, text);
        io_report.SetStatus(LumoStatus::OpenFailed, text,
                            text + QStringLiteral(" COM%1 leads to %2, the system's console, only "
                                                  "because nothing maps it: give --port, or map "
                                                  "COM%1 (lumoq4ctl ports shows the devices).")
                                       .arg(port.port)
                                       .arg(port.path));
        return;
    }
    QObject::connect(&watch, &InterruptWatch::interrupted, &watch, [&lumo] {
        // As the window's Stop: the sender ends after its current round, with the abort.
        lumo.StopSendFile();
    });
    if (firmware) {
        FirmwareCommand::Run(i_options, lumo, port, io_report);
    } else {
        NativeCommands::Run(i_options, lumo, port, io_report);
    }
}

} // namespace

namespace CtlRun {

int Main(const QStringList& i_args) {
    CtlOptions options;
    CtlReport report;
    QString error;
    if (!CtlOptions::Parse(i_args, options, error)) {
        report.SetCommand(options.command);
        report.Usage(error);
        return report.Print(options.json, options.quiet);
    }
    if (options.help || options.version) {
        const QString text = options.help ? CtlOptions::HelpText()
                                          : QStringLiteral("lumoq4ctl %1\n").arg(AppInfo::Title());
        if (!options.json) {
            std::fputs(text.toLocal8Bit().constData(), stdout);
            return 0;
        }
        // One object, as for every other run.
        report.SetCommand(options.help ? QStringLiteral("--help") : QStringLiteral("--version"));
        report.SetText(text.trimmed());
        return report.Print(true, false);
    }
    report.SetCommand(options.command);
    TerminalPrompt prompt;
    Prompt::Install(&prompt);
    std::unique_ptr<LineTrace> trace;
    if (options.trace) {
        trace = std::make_unique<LineTrace>(LineTap::Shared());
    }
    runCommand(options, report);
    if (InterruptWatch::Requested()) {
        report.SetExit(InterruptWatch::ExitStatus()); // whatever the command reached
    }
    if (trace) {
        trace->Finish();
    }
    Prompt::Install(nullptr);
    return report.Print(options.json, options.quiet);
}

} // namespace CtlRun
