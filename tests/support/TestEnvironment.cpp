#include "support/TestEnvironment.h"

#include "core/settings/SettingsStore.h"
#include "support/FixedDeviceSource.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>

namespace TestEnvironment {

namespace {

QString freshFolder(const QString& i_sPrefix) {
    QString base = qEnvironmentVariable("LUMOQ4_TEST_TMP");
    if (base.isEmpty()) {
        base = QDir::tempPath() + QStringLiteral("/lumoq4-tests");
    }
    return base + QLatin1Char('/') + i_sPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

FixedDeviceSource& IsolateDevices() {
    static FixedDeviceSource s_source(freshFolder(QStringLiteral("devices-")));
    return s_source;
}

QString FreshSettingsFolder() {
    const QString folder = freshFolder(QStringLiteral("config-"));
    QDir().mkpath(folder);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    SettingsStore::ResetForTests();
    return folder;
}

void ClearPortMappings() {
    for (int i = 0; i <= 16; ++i) {
        qunsetenv(QStringLiteral("LUMOQ4_COM%1").arg(i).toLatin1().constData());
    }
}

} // namespace TestEnvironment
