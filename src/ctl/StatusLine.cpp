#include "ctl/StatusLine.h"

#include "common/LumoStatus.h"
#include "ctl/CtlReport.h"
#include "ctl/PortChoice.h"
#include "device/CLumo.h"
#include "device/OpenFailureAdvice.h"
#include "transfer/frmCLumo.h"

namespace StatusLine {

void Report(CLumo& i_lumo, const PortChoice& i_port, int i_iStatus, CtlReport& io_report) {
    if (i_iStatus == LumoStatus::Success) {
        io_report.SetStatus(i_iStatus, QStringLiteral("OK"));
        return;
    }
    QString text;
    i_lumo.ErrorDescription(i_iStatus, text);
    QString line = text;
    if (i_iStatus == LumoStatus::OpenFailed) {
        QStringList advice =
            OpenFailureAdvice::For(frmCLumo::Instance().LastOpenFailure(), i_port.port)
                .split(QLatin1Char('\n'));
        // The last line tells where COMn leads; a path given on the command line is its own
        // answer.
        if (i_port.byPath && !advice.isEmpty()) {
            advice.removeLast();
        }
        if (!advice.isEmpty()) {
            line += QLatin1Char(' ') + advice.join(QLatin1Char(' '));
        }
    }
    io_report.SetStatus(i_iStatus, text, line);
}

} // namespace StatusLine
