#pragma once

#include <QString>

class CLumo;
class CtlReport;
struct CtlOptions;
struct PortChoice;

// The display's own commands, each through the session routine the main window's button
// calls: version, get, send, set-baud, international, save-layer, cursor, clear, demo,
// after-reboot, printer, light and raw.
namespace NativeCommands {

// False with the usage error in o_sError when the command's arguments are not what it takes
// (a number out of range, a range that ends before it begins, one too many).
bool CheckArguments(const CtlOptions& i_options, QString& o_sError);

// Runs the command with arguments that CheckArguments accepted and reports its status.
void Run(const CtlOptions& i_options, CLumo& io_lumo, const PortChoice& i_port,
         CtlReport& io_report);

} // namespace NativeCommands
