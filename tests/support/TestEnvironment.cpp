#include "support/TestEnvironment.h"

#include "app/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>

namespace TestEnvironment {

QString FreshSettingsFolder() {
    QString base = qEnvironmentVariable("LUMOQ4_TEST_TMP");
    if (base.isEmpty()) {
        base = QDir::tempPath() + QStringLiteral("/lumoq4-tests");
    }
    const QString folder =
        base + QStringLiteral("/config-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
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
