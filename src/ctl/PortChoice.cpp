#include "ctl/PortChoice.h"

#include "core/device/CLumo.h"
#include "core/ports/ConsoleGuard.h"
#include "core/ports/PortResolver.h"
#include "core/settings/RememberedSelections.h"
#include "core/settings/SelectionLists.h"
#include "ctl/ArgumentValues.h"
#include "ctl/CtlOptions.h"

#include <QRegularExpression>

int PortChoice::StoredRow(const char* i_sList, int i_iRows) {
    const RememberedSelection* selection = RememberedSelections::Of(QLatin1String(i_sList));
    if (selection == nullptr) {
        return 0;
    }
    bool ok = false;
    const int row = RememberedSelections::Stored(*selection).trimmed().toInt(&ok);
    return ok && row >= 0 && row < i_iRows ? row : 0;
}

bool PortChoice::Resolve(const CtlOptions& i_options, PortChoice& o_choice, QString& o_sError) {
    const QStringList ports = SelectionLists::Comports();
    o_choice.port = StoredRow("cboComport", int(ports.size())) + 1;
    QString wanted = i_options.port;
    if (wanted.isEmpty()) {
        wanted = qEnvironmentVariable("LUMOQ4_PORT").trimmed();
    }
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch com = comName.match(wanted);
    if (com.hasMatch()) {
        const int port = com.captured(1).toInt();
        if (port < 1 || port > ports.size()) {
            o_sError = QStringLiteral("--port %1: the ports are COM1 to COM%2")
                           .arg(wanted)
                           .arg(ports.size());
            return false;
        }
        o_choice.port = port;
    } else if (!wanted.isEmpty()) {
        o_choice.byPath = true;
        o_choice.path = wanted;
    }
    if (!o_choice.byPath) {
        o_choice.path = PortResolver::DevicePath(o_choice.port);
    }

    const QStringList rates = SelectionLists::BaudRates();
    const QStringList parities = SelectionLists::Parities();
    o_choice.baudRate = rates[StoredRow("cboBaudRate", int(rates.size()))];
    o_choice.parity = parities[StoredRow("cboParity", int(parities.size()))];
    if (!i_options.baud.isEmpty()) {
        const std::optional<QString> rate = ArgumentValues::BaudRate(i_options.baud);
        if (!rate) {
            o_sError = QStringLiteral("--baud %1: not a rate of the list (%2)")
                           .arg(i_options.baud, rates.join(QStringLiteral(", ")));
            return false;
        }
        o_choice.baudRate = *rate;
    }
    if (!i_options.parity.isEmpty()) {
        const std::optional<QString> parity = ArgumentValues::Parity(i_options.parity);
        if (!parity) {
            o_sError = QStringLiteral("--parity %1: none, odd or even").arg(i_options.parity);
            return false;
        }
        o_choice.parity = *parity;
    }
    return true;
}

bool PortChoice::IsWindowsPort() const {
    return !byPath && port == StoredRow("cboComport", int(SelectionLists::Comports().size())) + 1;
}

void PortChoice::Apply(CLumo& io_lumo) const {
    if (byPath) {
        qputenv(PortResolver::EnvironmentName(port).toLatin1().constData(), path.toLocal8Bit());
    }
    io_lumo.setCommPort(port);
    io_lumo.setBaudRate(baudRate);
    io_lumo.setParity(parity);
}

bool PortChoice::DefaultsToConsole() const {
    return !byPath && ConsoleGuard::DefaultsToConsole(port);
}
