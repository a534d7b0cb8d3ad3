#include "core/settings/SettingsBackend.h"

#include <QDir>
#include <QFileInfo>

namespace SettingsBackend {

std::unique_ptr<QSettings> Open(const QString& i_sFile, bool i_blnForWriting) {
    if (i_blnForWriting) {
        QDir().mkpath(QFileInfo(i_sFile).absolutePath());
    }
    return std::make_unique<QSettings>(i_sFile, QSettings::IniFormat);
}

} // namespace SettingsBackend
