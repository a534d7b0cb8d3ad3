#pragma once

#include <QString>

class CLumo;
class CtlReport;
struct CtlOptions;
struct PortChoice;

// "firmware FILE": the service password, then the window's sequence (the loader switch, the
// XModem sender started and the event loop run until the transfer ends). SIGINT stops the
// sender as the window's Stop does; the run then ends with XModem's abort. Exit 0 only for a
// complete transfer.
namespace FirmwareCommand {

// False with the usage error in o_sError unless there is one FILE and --type names a kind.
bool CheckArguments(const CtlOptions& i_options, QString& o_sError);

void Run(const CtlOptions& i_options, CLumo& io_lumo, const PortChoice& i_port,
         CtlReport& io_report);

} // namespace FirmwareCommand
