#pragma once

class CtlReport;
struct CtlOptions;
struct PortChoice;

// The machine's side: "ports" lists the serial devices and where COM1..COM16 lead; "find"
// runs the Find Display scan with the window's plan and order. Neither writes the settings.
namespace PortCommands {

void Ports(const CtlOptions& i_options, CtlReport& io_report);

// Exit 4 when no display answered; 130, 143 or 129 when interrupted by SIGINT, SIGTERM, SIGHUP.
void Find(const CtlOptions& i_options, const PortChoice& i_port, CtlReport& io_report);

} // namespace PortCommands
