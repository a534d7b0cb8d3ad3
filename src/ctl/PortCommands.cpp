#include "ctl/PortCommands.h"

#include "core/common/ControlText.h"
#include "core/common/LumoStatus.h"
#include "core/device/frmCLumo.h"
#include "core/ports/PortDescription.h"
#include "core/ports/PortResolver.h"
#include "core/ports/SerialDiscovery.h"
#include "core/scan/DisplayScan.h"
#include "core/scan/ScanPlan.h"
#include "core/settings/SelectionLists.h"
#include "ctl/ConsoleStreams.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReport.h"
#include "ctl/InterruptWatch.h"
#include "ctl/PortChoice.h"

#include <cstdio>

namespace {

// Where Find Display is, on one redrawn line when standard error is a terminal.
class ScanLine : public ScanObserver {
public:
    ScanLine() : m_blnTerminal(ConsoleStreams::ErrorIsTerminal()) {}
    ~ScanLine() override {
        if (m_blnDrawn) {
            std::fputs("\n", stderr);
        }
    }
    ScanLine(const ScanLine&) = delete;
    ScanLine& operator=(const ScanLine&) = delete;

    void Trying(const ScanStep& i_step) override {
        if (!m_blnTerminal) {
            return;
        }
        const QString text =
            QStringLiteral("\rTrying %1, %2 baud, %3 parity (pass %4, %5 of %6)\x1b[K")
                .arg(ControlText::Escaped(i_step.path), i_step.setting.baudRate,
                     i_step.setting.parity)
                .arg(i_step.pass)
                .arg(i_step.index + 1)
                .arg(i_step.count);
        std::fputs(text.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        m_blnDrawn = true;
    }
    bool Cancelled() override { return InterruptWatch::Requested(); }

private:
    bool m_blnTerminal;
    bool m_blnDrawn = false;
};

JsonLine deviceObject(const SerialDevice& i_device) {
    JsonLine object;
    object.Add(QStringLiteral("path"), i_device.path)
        .Add(QStringLiteral("alias"), i_device.alias)
        .Add(QStringLiteral("description"), i_device.description)
        .Add(QStringLiteral("manufacturer"), i_device.manufacturer)
        .Add(QStringLiteral("serial"), i_device.serialNumber)
        .Add(QStringLiteral("vid_pid"), i_device.UsbId())
        .Add(QStringLiteral("state"), i_device.StateText());
    return object;
}

} // namespace

namespace PortCommands {

void Ports(const CtlOptions& /*i_options*/, CtlReport& io_report) {
    const SerialDeviceList devices = SerialDiscovery::List();
    QList<JsonLine> deviceObjects;
    if (devices.isEmpty()) {
        io_report.Say(QStringLiteral("No serial devices."));
    }
    for (const SerialDevice& device : devices) {
        deviceObjects << deviceObject(device);
        QString line = device.path;
        if (!device.alias.isEmpty()) {
            line += QStringLiteral("  ") + device.alias;
        }
        if (!device.Label().isEmpty()) {
            line += QStringLiteral("  ") + device.Label();
        }
        if (!device.UsbId().isEmpty()) {
            line += QStringLiteral("  ") + device.UsbId();
        }
        io_report.Say(line + QStringLiteral("  ") + device.StateText());
    }
    QList<JsonLine> mappings;
    for (int port = 1; port <= SelectionLists::Comports().size(); ++port) {
        const QString path = PortResolver::DevicePath(port);
        const QString source = PortResolver::Source(port);
        mappings << JsonLine()
                        .Add(QStringLiteral("com"), QStringLiteral("COM%1").arg(port))
                        .Add(QStringLiteral("path"), path)
                        .Add(QStringLiteral("source"), source);
        // The Setting tab's words for where the port leads, and what made it lead there.
        QString line =
            QStringLiteral("COM%1 %2").arg(port).arg(PortDescription::Label(port, devices));
        if (source != PortResolver::EnvironmentName(port)) {
            line += QStringLiteral(" · %1").arg(source);
        }
        io_report.Say(line);
    }
    io_report.SetStatus(LumoStatus::Success, QStringLiteral("OK"));
    io_report.Results().AddObjects(QStringLiteral("devices"), deviceObjects);
    io_report.Results().AddObjects(QStringLiteral("mappings"), mappings);
}

void Find(const CtlOptions& i_options, const PortChoice& i_port, CtlReport& io_report) {
    const SerialDeviceList devices = SerialDiscovery::List();
    ScanOutcome outcome;
    {
        ScanLine progress;
        DisplayScan scan(frmCLumo::Instance().MSComm1(), progress, i_port.port);
        outcome =
            scan.Run(ScanPlan::Candidates(i_port.path, devices, i_options.allDevices),
                     ScanPlan::Settings(SelectionLists::BaudRates(), SelectionLists::Parities(),
                                        ScanSetting{i_port.baudRate, i_port.parity}));
    }
    // The window's summary points at its tool tip; here the details follow on the same line.
    QString line = outcome.Summary().remove(QStringLiteral(" (see the tool tip)"));
    const QString details = outcome.Details();
    switch (outcome.result) {
    case ScanOutcome::Result::Found:
        io_report.SetPort(outcome.path);
        io_report.SetStatus(LumoStatus::Success, line);
        io_report.Results()
            .Add(QStringLiteral("baud"), outcome.setting.baudRate)
            .Add(QStringLiteral("parity"), outcome.setting.parity)
            .Add(QStringLiteral("version"), outcome.version);
        io_report.Say(line);
        return;
    case ScanOutcome::Result::Cancelled:
        io_report.Fail(CtlReport::kInterrupted, line);
        return;
    case ScanOutcome::Result::NotFound:
        break;
    }
    if (!details.isEmpty()) {
        line += QLatin1Char(' ') + QString(details).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    io_report.SetPort(QString());
    io_report.SetStatus(LumoStatus::NoResponse,
                        outcome.Summary().remove(QStringLiteral(" (see the tool tip)")), line);
}

} // namespace PortCommands
