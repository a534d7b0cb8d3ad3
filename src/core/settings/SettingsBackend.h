#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// Where the settings of a file name live: the INI file itself on Linux, the registry under
// HKEY_CURRENT_USER\Software\<the file's base name> on Windows, with the same sections and keys.
namespace SettingsBackend {

// The store for i_sFile; for writing, the folder of an INI file is made first.
std::unique_ptr<QSettings> Open(const QString& i_sFile, bool i_blnForWriting);

} // namespace SettingsBackend
