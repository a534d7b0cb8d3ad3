#include "ctl/NativeCommands.h"

#include "core/device/CLumo.h"
#include "core/settings/DisplayTypes.h"
#include "core/settings/RememberedSelections.h"
#include "core/settings/SelectionLists.h"
#include "ctl/ArgumentValues.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReport.h"
#include "ctl/PortChoice.h"
#include "ctl/StatusLine.h"

#include <QJsonValue>
#include <functional>
#include <map>

namespace {

// The display the running program works with, whatever type was stored (2x20, 40 cells).
const DisplayType& workingType() {
    static const DisplayType type = DisplayType::FromCode(4);
    return type;
}

struct Call {
    std::function<int(CLumo&)> run;
    std::function<void(CtlReport&)> results; // after success
};

using Checked = std::optional<Call>;

// One argument checked by i_read; a usage error names the command and what it takes.
template <typename T>
bool argument(const CtlOptions& i_options, int i_iIndex, const QString& i_sTakes,
              const std::function<std::optional<T>(const QString&)>& i_read, T& o_value,
              QString& o_sError) {
    const QString text = i_iIndex < i_options.args.size() ? i_options.args[i_iIndex] : QString();
    const std::optional<T> value = text.isEmpty() ? std::nullopt : i_read(text);
    if (!value) {
        o_sError =
            text.isEmpty()
                ? QStringLiteral("%1: missing %2").arg(i_options.command, i_sTakes)
                : QStringLiteral("%1: \"%2\" is not %3").arg(i_options.command, text, i_sTakes);
        return false;
    }
    o_value = *value;
    return true;
}

std::function<std::optional<int>(const QString&)> range(int i_iFirst, int i_iLast) {
    return
        [=](const QString& i_sText) { return ArgumentValues::InRange(i_sText, i_iFirst, i_iLast); };
}

std::function<std::optional<int>(const QString&)> rows(const QStringList& i_list) {
    return [=](const QString& i_sText) { return ArgumentValues::ListRow(i_sText, i_list); };
}

// A query whose text is the command's result, under i_sKey in JSON.
Call readBack(const QString& i_sKey, const std::function<int(CLumo&, QString&)>& i_query) {
    auto text = std::make_shared<QString>();
    return Call{[text, i_query](CLumo& l) { return i_query(l, *text); },
                [text, i_sKey](CtlReport& r) {
                    r.Results().Add(i_sKey, *text);
                    r.Say(*text);
                }};
}

Checked check(const CtlOptions& o, QString& err) {
    const QString& command = o.command;
    const int cells = workingType().cells;
    const QString cellRange = QStringLiteral("a cell from 1 to %1").arg(cells);
    int a = 0;
    int b = 0;
    QString s;
    QString t;
    if (command == QLatin1String("version")) {
        return readBack(QStringLiteral("version"),
                        [](CLumo& l, QString& o_sText) { return l.GetVersion(o_sText); });
    }
    if (command == QLatin1String("get")) {
        return readBack(QStringLiteral("message"),
                        [](CLumo& l, QString& o_sText) { return l.GetMessage(o_sText); });
    }
    if (command == QLatin1String("send")) {
        const QString text = o.args.join(QLatin1Char(' '));
        if (o.args.isEmpty() || text.size() > workingType().MessageLength()) {
            err = QStringLiteral("send: TEXT of 1 to %1 characters")
                      .arg(workingType().MessageLength());
            return std::nullopt;
        }
        return Call{[text](CLumo& l) { return l.SendMessage(text); }, {}};
    }
    if (command == QLatin1String("set-baud")) {
        if (!argument<QString>(o, 0, QStringLiteral("a baud rate of the list"),
                               ArgumentValues::BaudRate, s, err) ||
            !argument<QString>(o, 1, QStringLiteral("none, odd or even"), ArgumentValues::Parity, t,
                               err)) {
            return std::nullopt;
        }
        return Call{[s, t](CLumo& l) { return l.SetBaudRate(s, t); }, {}};
    }
    if (command == QLatin1String("international")) {
        if (!argument<int>(o, 0, QStringLiteral("a code of the list (0..14 or a name)"),
                           ArgumentValues::InternationalCode, a, err)) {
            return std::nullopt;
        }
        return Call{[a](CLumo& l) { return l.SetInternationalCode(static_cast<qint16>(a)); }, {}};
    }
    if (command == QLatin1String("save-layer")) {
        if (!argument<int>(o, 0, QStringLiteral("a layer from 1 to 3"), range(1, 3), a, err)) {
            return std::nullopt;
        }
        return Call{[a](CLumo& l) { return l.SaveMessage(static_cast<qint16>(a)); }, {}};
    }
    if (command == QLatin1String("cursor")) {
        if (!argument<int>(o, 0, cellRange, range(1, cells), a, err)) {
            return std::nullopt;
        }
        return Call{[a](CLumo& l) { return l.SetPosition(static_cast<qint16>(a)); }, {}};
    }
    if (command == QLatin1String("clear")) {
        if (!argument<int>(o, 0, cellRange, range(1, cells), a, err) ||
            !argument<int>(o, 1, cellRange, range(1, cells), b, err)) {
            return std::nullopt;
        }
        if (a > b) {
            // The display refuses a range that ends before it begins.
            err = QStringLiteral("clear: FROM %1 is after TO %2").arg(a).arg(b);
            return std::nullopt;
        }
        return Call{[a, b](CLumo& l) { return l.ClearDisplay(a, b); }, {}};
    }
    if (command == QLatin1String("demo")) {
        const QStringList modes =
            workingType().modeListB ? SelectionLists::ModesB() : SelectionLists::ModesA();
        if (!argument<int>(o, 0, QStringLiteral("a layer of the list (0..6 or its text)"),
                           rows(SelectionLists::Layers()), a, err) ||
            !argument<int>(
                o, 1,
                QStringLiteral("a mode of the list (0..%1 or its text)").arg(modes.size() - 1),
                rows(modes), b, err)) {
            return std::nullopt;
        }
        return Call{[a, b](CLumo& l) { return l.DisplayDemoMessage(a, b); }, {}};
    }
    if (command == QLatin1String("after-reboot")) {
        if (!argument<int>(o, 0, QStringLiteral("stay or running"),
                           rows(SelectionLists::RebootModes()), a, err)) {
            return std::nullopt;
        }
        return Call{[a](CLumo& l) { return l.DisplayShowSavedMessageAfterRebootMode(a); }, {}};
    }
    if (command == QLatin1String("printer")) {
        if (!argument<int>(o, 0, QStringLiteral("on or off"),
                           rows({QStringLiteral("on"), QStringLiteral("off")}), a, err)) {
            return std::nullopt;
        }
        return Call{[a](CLumo& l) { return a == 0 ? l.PrinterOn() : l.PrinterOff(); }, {}};
    }
    if (command == QLatin1String("light")) {
        const qint16 lit = workingType().cells;
        return Call{[lit](CLumo& l) { return l.FullyLightTube(lit); }, {}};
    }
    // raw
    const QByteArray bytes = ArgumentValues::HexBytes(o.args);
    if (bytes.isEmpty()) {
        err = QStringLiteral("raw: HEX bytes, e.g. raw 1b 40 or raw 1B40");
        return std::nullopt;
    }
    return Call{[bytes](CLumo& l) { return l.SendBytes(bytes); }, {}};
}

// How many arguments each command takes at most (send takes any number of words).
int mostArguments(const QString& i_sCommand) {
    static const std::map<QString, int> most = {
        {QStringLiteral("version"), 0},      {QStringLiteral("get"), 0},
        {QStringLiteral("set-baud"), 2},     {QStringLiteral("international"), 1},
        {QStringLiteral("save-layer"), 1},   {QStringLiteral("cursor"), 1},
        {QStringLiteral("clear"), 2},        {QStringLiteral("demo"), 2},
        {QStringLiteral("after-reboot"), 1}, {QStringLiteral("printer"), 1},
        {QStringLiteral("light"), 0}};
    const auto found = most.find(i_sCommand);
    return found == most.end() ? -1 : found->second;
}

} // namespace

namespace NativeCommands {

bool CheckArguments(const CtlOptions& i_options, QString& o_sError) {
    const int most = mostArguments(i_options.command);
    if (most >= 0 && i_options.args.size() > most) {
        o_sError = QStringLiteral("%1: too many arguments").arg(i_options.command);
        return false;
    }
    return check(i_options, o_sError).has_value();
}

void Run(const CtlOptions& i_options, CLumo& io_lumo, const PortChoice& i_port,
         CtlReport& io_report) {
    QString error;
    const Checked call = CheckArguments(i_options, error) ? check(i_options, error) : Checked();
    if (!call) {
        io_report.Usage(error);
        return;
    }
    const int status = call->run(io_lumo);
    StatusLine::Report(io_lumo, i_port, status, io_report);
    if (status == 0 && i_options.command == QLatin1String("set-baud") && i_port.IsWindowsPort()) {
        // The display now listens at the new rate. As in the window, the computer's port
        // follows: the next run on the window's port opens it at that rate. A display on
        // another port says nothing about the window's.
        RememberedSelections::Save(
            QStringLiteral("cboBaudRate"),
            int(SelectionLists::BaudRates().indexOf(*ArgumentValues::BaudRate(i_options.args[0]))));
    }
    if (status == 0) {
        if (call->results) {
            call->results(io_report);
        } else {
            io_report.Say(QStringLiteral("OK"));
        }
    }
}

} // namespace NativeCommands
