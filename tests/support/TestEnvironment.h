#pragma once

#include <QString>

class FixedDeviceSource;

// Each test binary runs with its own settings folder, so no test sees the user's settings or
// another test's.
namespace TestEnvironment {

// Points $XDG_CONFIG_HOME at a new empty folder and forgets in-memory settings; returns it.
QString FreshSettingsFolder();

// Removes every LUMOQ4_COMn mapping from the environment.
void ClearPortMappings();

// Puts a device source with an empty list and folders of its own in place of the machine's,
// for the whole test program; returns it. Tests fill its list and folders as they need.
FixedDeviceSource& IsolateDevices();

} // namespace TestEnvironment
