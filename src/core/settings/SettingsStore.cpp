#include "core/settings/SettingsStore.h"

#include "core/common/AppInfo.h"
#include "core/common/Prompt.h"
#include "core/settings/SettingsBackend.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace SettingsStore {
namespace {

QHash<QString, QString> g_unsaved; // values whose write failed, by file, section and key
bool g_blnToldUser = false;

QString configFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QLatin1Char('/') + AppInfo::Name();
}

QString memoryKey(const QString& file, const QString& section, const QString& key) {
    return file + QLatin1Char('\n') + section + QLatin1Char('\n') + key;
}

} // namespace

QString FileFor(const QString& i_sAppName) {
    const QString stem =
        i_sAppName == AppInfo::Name()
            ? i_sAppName
            : QString::fromLatin1(QUrl::toPercentEncoding(i_sAppName, QByteArray(" ")));
    return configFolder() + QLatin1Char('/') + stem + QStringLiteral(".ini");
}

QString GetSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey,
                   const QString& i_sDefault) {
    const QString file = FileFor(i_sAppName);
    const auto unsaved = g_unsaved.constFind(memoryKey(file, i_sSection, i_sKey));
    if (unsaved != g_unsaved.constEnd()) {
        return *unsaved;
    }
    const std::unique_ptr<QSettings> settings = SettingsBackend::Open(file, false);
    settings->beginGroup(i_sSection);
    const QVariant value = settings->value(i_sKey);
    return value.isValid() ? value.toString() : i_sDefault;
}

void SaveSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey,
                 const QString& i_sValue) {
    const QString file = FileFor(i_sAppName);
    QSettings::Status status = QSettings::NoError;
    {
        const std::unique_ptr<QSettings> settings = SettingsBackend::Open(file, true);
        settings->beginGroup(i_sSection);
        settings->setValue(i_sKey, i_sValue);
        settings->endGroup();
        settings->sync();
        status = settings->status();
    }
    const QString mkey = memoryKey(file, i_sSection, i_sKey);
    if (status == QSettings::NoError) {
        g_unsaved.remove(mkey);
        return;
    }
    g_unsaved.insert(mkey, i_sValue);
    if (!g_blnToldUser) {
        g_blnToldUser = true;
        Prompt::Current().Show(
            Prompt::Icon::Exclamation, AppInfo::Name(),
            QStringLiteral("Your selections cannot be saved to %1. The program goes on with "
                           "them for this session; check that the folder is writable and the "
                           "disk is not full.")
                .arg(QDir::toNativeSeparators(file)));
    }
}

void DeleteSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey) {
    const QString file = FileFor(i_sAppName);
    g_unsaved.remove(memoryKey(file, i_sSection, i_sKey));
    const std::unique_ptr<QSettings> settings = SettingsBackend::Open(file, false);
    settings->beginGroup(i_sSection);
    settings->remove(i_sKey);
    settings->endGroup();
    settings->sync();
}

void ResetForTests() {
    g_unsaved.clear();
    g_blnToldUser = false;
}

} // namespace SettingsStore
