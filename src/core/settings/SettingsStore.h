#pragma once

#include <QString>

// The per-user settings store: string values addressed by application name, section and key.
//
// Each application name has an INI file of its own in $XDG_CONFIG_HOME/LumoQ4 Utility/
// (~/.config/LumoQ4 Utility/ when the variable is unset): "LumoQ4 Utility.ini" for the
// program's title, and for any other name (the program's folder) the name with every
// character outside letters, digits, "-", "." and "_" percent-encoded, plus ".ini".
// Sections are INI groups. Every write reaches the file at once; a write that cannot be saved
// is told to the user once per run, and its value is kept in memory for the rest of the run.
namespace SettingsStore {

QString GetSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey,
                   const QString& i_sDefault = QString());

void SaveSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey,
                 const QString& i_sValue);

// Removes a value; a later read gives the reader's default.
void DeleteSetting(const QString& i_sAppName, const QString& i_sSection, const QString& i_sKey);

// The file behind an application name.
QString FileFor(const QString& i_sAppName);

// Forgets the values kept in memory after failed writes and the "already told" flag; for
// tests that point the store at another folder.
void ResetForTests();

} // namespace SettingsStore
