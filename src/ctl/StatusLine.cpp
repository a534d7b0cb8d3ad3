#include "ctl/StatusLine.h"

#include "core/common/LumoStatus.h"
#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/serial/OpenFailureAdvice.h"
#include "ctl/CtlReport.h"
#include "ctl/PortChoice.h"

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
        // The tooltip's lines become sentences of one line: the system's reason gets its stop.
        for (QString sentence : advice) {
            sentence = sentence.trimmed();
            if (sentence.isEmpty()) {
                continue;
            }
            if (!sentence.endsWith(QLatin1Char('.')) && !sentence.endsWith(QLatin1Char('!')) &&
                !sentence.endsWith(QLatin1Char('?'))) {
                sentence += QLatin1Char('.');
            }
            line += QLatin1Char(' ') + sentence;
        }
    }
    // The close gave up on bytes the line did not take: how many, and why.
    const QString lost = frmCLumo::Instance().LastCloseFailure();
    if (i_iStatus == LumoStatus::NotConnected && !lost.isEmpty()) {
        line += QLatin1Char(' ') + lost + QLatin1Char('.');
    }
    io_report.SetStatus(i_iStatus, text, line);
}

} // namespace StatusLine
