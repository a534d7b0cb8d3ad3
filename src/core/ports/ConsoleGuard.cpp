#include "core/ports/ConsoleGuard.h"

#include "core/ports/DeviceState.h"
#include "core/ports/PortResolver.h"

#include <QFileInfo>

namespace ConsoleGuard {

bool DefaultsToConsole(int i_iPort) {
    if (i_iPort < 1 || PortResolver::IsMapped(i_iPort)) {
        return false;
    }
    const QString path = PortResolver::DevicePath(i_iPort);
    const QString real = QFileInfo(path).canonicalFilePath();
    const QStringList consoles = DeviceState::ConsoleNames();
    return consoles.contains(QFileInfo(path).fileName()) ||
           (!real.isEmpty() && consoles.contains(QFileInfo(real).fileName()));
}

QString Refusal(int i_iPort) {
    return QStringLiteral("COM%1 leads to %2, the system console, only because nothing maps it")
        .arg(i_iPort)
        .arg(PortResolver::DevicePath(i_iPort));
}

} // namespace ConsoleGuard
