#pragma once

#include <QString>

// The program's own names and version.
namespace AppInfo {

// "LumoQ4 Utility": the program's title and the application name of its settings.
QString Name();

// The title with the version: "LumoQ4 Utility V1.2R3".
QString Title();

// The folder that holds the program's executable (the application name of the firmware
// dialog's file setting).
QString ProgramFolder();

} // namespace AppInfo
