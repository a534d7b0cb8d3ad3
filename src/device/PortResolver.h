#pragma once

#include <QString>

// Where port number n (COMn) leads: the environment variable LUMOQ4_COMn, then the settings
// value "Ports"/"COMn" of the program, then the platform's own name (/dev/ttyS<n-1> on Linux,
// COMn on Windows).
namespace PortResolver {

QString DevicePath(int i_iPort);

// Which of the three gave the path: "LUMOQ4_COM1", "the setting Ports/COM1" or "the default".
QString Source(int i_iPort);

} // namespace PortResolver
