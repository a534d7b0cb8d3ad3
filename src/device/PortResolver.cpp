#include "device/PortResolver.h"

#include "app/SettingsStore.h"
#include "common/AppInfo.h"

namespace PortResolver {
namespace {

QString envName(int n) {
    return QStringLiteral("LUMOQ4_COM%1").arg(n);
}

QString settingValue(int n) {
    return SettingsStore::GetSetting(AppInfo::Name(), QStringLiteral("Ports"),
                                     QStringLiteral("COM%1").arg(n))
        .trimmed();
}

} // namespace

QString DevicePath(int i_iPort) {
    QString fromEnv = qEnvironmentVariable(envName(i_iPort).toLatin1().constData()).trimmed();
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    QString fromSettings = settingValue(i_iPort);
    if (!fromSettings.isEmpty()) {
        return fromSettings;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(i_iPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(i_iPort - 1);
#endif
}

QString Source(int i_iPort) {
    if (!qEnvironmentVariable(envName(i_iPort).toLatin1().constData()).trimmed().isEmpty()) {
        return envName(i_iPort);
    }
    if (!settingValue(i_iPort).isEmpty()) {
        return QStringLiteral("the setting Ports/COM%1").arg(i_iPort);
    }
    return QStringLiteral("the default");
}

} // namespace PortResolver
