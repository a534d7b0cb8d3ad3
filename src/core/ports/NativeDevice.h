#pragma once

#include <QString>

// What the operating system tells of a serial device's node without opening it. Linux answers
// from the device file (stat, access, the device numbers); Windows names its ports COMn and
// answers only when a port is opened, so there every port counts as present and usable.
namespace NativeDevice {

// False when nothing exists at i_sPath.
bool Present(const QString& i_sPath);

// False when this user may not read and write i_sPath.
bool ReadWritable(const QString& i_sPath);

// True when i_sPath is the slave side of a pseudo-terminal.
bool IsPseudoTerminal(const QString& i_sPath);

// True when i_sPath is a terminal device; otherwise false with the reason in o_sWhy.
bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy);

// True when the process i_lPid runs (a lock file's holder).
bool ProcessAlive(qint64 i_lPid);

// The device COMi_iPort stands for when nothing maps it: /dev/ttyS<n-1> on Linux, the
// system's own name on Windows.
QString DefaultPath(int i_iPort);

} // namespace NativeDevice
