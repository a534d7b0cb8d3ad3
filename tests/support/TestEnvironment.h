#pragma once

#include <QString>

// Each test binary runs with its own settings folder, so no test sees the user's settings or
// another test's.
namespace TestEnvironment {

// Points $XDG_CONFIG_HOME at a new empty folder and forgets in-memory settings; returns it.
QString FreshSettingsFolder();

// Removes every LUMOQ4_COMn mapping from the environment.
void ClearPortMappings();

} // namespace TestEnvironment
