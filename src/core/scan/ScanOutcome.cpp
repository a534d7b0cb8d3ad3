#include "core/scan/ScanOutcome.h"

#include "core/common/ControlText.h"

namespace {

const char* const kLikelyCauses =
    "Likely causes: the cable (or a null-modem adapter where none belongs), the display's "
    "power, a display in VT100 mode, or a display waiting in its loader after an interrupted "
    "firmware update.";

} // namespace

QString ScanOutcome::Summary() const {
    switch (result) {
    case Result::Found:
        return QStringLiteral("Found: %1, %2 baud, %3 parity, firmware %4")
            .arg(path, setting.baudRate, setting.parity, ControlText::Escaped(version));
    case Result::Cancelled:
        return QStringLiteral("Find Display cancelled.");
    case Result::NotFound:
        break;
    }
    if (tried.isEmpty()) {
        return QStringLiteral("No display found: no device could be tried (see the tool tip).");
    }
    return QStringLiteral("No display found on %1 (%2 settings, %3 pass%4). Check the cable "
                          "and the power; a display in VT100 mode or in its loader does not "
                          "answer.")
        .arg(tried.join(QStringLiteral(", ")))
        .arg(settingsPerDevice)
        .arg(passes)
        .arg(passes == 1 ? QString() : QStringLiteral("es"));
}

QString ScanOutcome::Details() const {
    QStringList lines;
    if (!tried.isEmpty()) {
        const QString devices = tried.join(QStringLiteral(", "));
        switch (result) {
        case Result::Found:
            lines << QStringLiteral("Tried: %1.").arg(devices);
            break;
        case Result::Cancelled:
            lines << QStringLiteral("Tried: %1, until cancelled.").arg(devices);
            break;
        case Result::NotFound:
            lines
                << QStringLiteral("Tried: %1, at every baud rate with every parity.").arg(devices);
            break;
        }
    }
    for (const QString& reason : skipped) {
        lines << QStringLiteral("Left out: %1").arg(reason);
    }
    if (result == Result::NotFound) {
        lines << QLatin1String(kLikelyCauses);
    }
    return lines.join(QLatin1Char('\n'));
}
