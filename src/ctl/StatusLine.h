#pragma once

#include <QString>

class CLumo;
class CtlReport;
struct PortChoice;

// A device status in the program's own words: "OK", "Device does not respond.", and for a
// port that would not open the operating system's reason and what to do about it, on one line.
namespace StatusLine {

void Report(CLumo& i_lumo, const PortChoice& i_port, int i_iStatus, CtlReport& io_report);

} // namespace StatusLine
