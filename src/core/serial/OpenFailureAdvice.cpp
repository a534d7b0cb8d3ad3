#include "core/serial/OpenFailureAdvice.h"

#include "core/common/AppInfo.h"
#include "core/ports/PortResolver.h"
#include "core/settings/SettingsStore.h"

#include <QDir>

namespace OpenFailureAdvice {

QString For(const QString& i_sReason, int i_iPort) {
    if (i_iPort < 1) {
        return QStringLiteral("No port is chosen: pick one in \"Comport:\" on the Setting tab.");
    }
    QString mapping =
        QStringLiteral("COM%1 leads to %2 (from %3). To use another device, set LUMOQ4_COM%1 in "
                       "the environment or the value COM%1 in the section [Ports] of %4.")
            .arg(i_iPort)
            .arg(PortResolver::DevicePath(i_iPort), PortResolver::Source(i_iPort),
                 QDir::toNativeSeparators(SettingsStore::FileFor(AppInfo::Name())));
    if (i_sReason.isEmpty()) {
        return mapping;
    }
    QString advice;
    if (i_sReason.contains(QLatin1String("Permission denied"), Qt::CaseInsensitive)) {
        advice = QStringLiteral("Your user may not use this port. On Linux, add it to the dialout "
                                "group (sudo usermod -aG dialout $USER) and log in again.");
    } else if (i_sReason.contains(QLatin1String(": in use by "))) {
        advice = QStringLiteral("Close the other program that holds the port, or choose another "
                                "port.");
    } else if (i_sReason.contains(QLatin1String("the system console, only because nothing maps"))) {
        advice = QStringLiteral("Writing to the system console disturbs this computer. Press "
                                "\"Choose Device\u2026\" on the Setting tab and choose the "
                                "display's device for COM%1; the console itself only with "
                                "\"Allow the system console\".")
                     .arg(i_iPort);
    } else if (i_sReason.contains(QLatin1String("No such file"), Qt::CaseInsensitive)) {
        advice = QStringLiteral("The device does not exist: check the cable or adapter.");
    }
    QString text = i_sReason;
    if (!advice.isEmpty()) {
        text += QLatin1Char('\n') + advice;
    }
    return text + QLatin1Char('\n') + mapping;
}

} // namespace OpenFailureAdvice
