#pragma once

class CLumo;
class CtlReport;
struct CtlOptions;
struct PortChoice;

// The display's own commands, each through the session routine the main window's button
// calls: version, get, send, set-baud, international, save-layer, cursor, clear, demo,
// after-reboot, printer, light and raw.
namespace NativeCommands {

// Checks the arguments (a usage error runs nothing), runs the command, reports its status.
void Run(const CtlOptions& i_options, CLumo& io_lumo, const PortChoice& i_port,
         CtlReport& io_report);

} // namespace NativeCommands
