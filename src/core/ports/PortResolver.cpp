#include "core/ports/PortResolver.h"

#include "core/common/AppInfo.h"
#include "core/ports/NativeDevice.h"
#include "core/settings/SettingsStore.h"

namespace PortResolver {
namespace {

QString settingKey(int n) {
    return QStringLiteral("COM%1").arg(n);
}

QString settingValue(int n) {
    return SettingsStore::GetSetting(AppInfo::Name(), QStringLiteral("Ports"), settingKey(n))
        .trimmed();
}

} // namespace

QString EnvironmentName(int i_iPort) {
    return QStringLiteral("LUMOQ4_COM%1").arg(i_iPort);
}

QString FromEnvironment(int i_iPort) {
    return qEnvironmentVariable(EnvironmentName(i_iPort).toLatin1().constData()).trimmed();
}

QString DevicePath(int i_iPort) {
    QString fromEnv = FromEnvironment(i_iPort);
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    QString fromSettings = settingValue(i_iPort);
    if (!fromSettings.isEmpty()) {
        return fromSettings;
    }
    return NativeDevice::DefaultPath(i_iPort);
}

QString Source(int i_iPort) {
    if (!FromEnvironment(i_iPort).isEmpty()) {
        return EnvironmentName(i_iPort);
    }
    if (!settingValue(i_iPort).isEmpty()) {
        return QStringLiteral("the setting Ports/COM%1").arg(i_iPort);
    }
    return QStringLiteral("the default");
}

bool IsMapped(int i_iPort) {
    return !FromEnvironment(i_iPort).isEmpty() || !settingValue(i_iPort).isEmpty();
}

void SetMapping(int i_iPort, const QString& i_sPath) {
    SettingsStore::SaveSetting(AppInfo::Name(), QStringLiteral("Ports"), settingKey(i_iPort),
                               i_sPath);
}

void RemoveMapping(int i_iPort) {
    SettingsStore::DeleteSetting(AppInfo::Name(), QStringLiteral("Ports"), settingKey(i_iPort));
}

} // namespace PortResolver
