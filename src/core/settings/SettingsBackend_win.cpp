#include "core/settings/SettingsBackend.h"

#include <QFileInfo>

namespace SettingsBackend {

// A Windows user looks for a program's own settings in the registry, per user.
std::unique_ptr<QSettings> Open(const QString& i_sFile, bool i_blnForWriting) {
    Q_UNUSED(i_blnForWriting);
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\") +
                                           QFileInfo(i_sFile).completeBaseName(),
                                       QSettings::NativeFormat);
}

} // namespace SettingsBackend
