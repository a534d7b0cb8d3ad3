#pragma once

#include <QString>

// Where port number n (COMn) leads: the environment variable LUMOQ4_COMn, then the settings
// value "Ports"/"COMn" of the program, then the platform's own name (/dev/ttyS<n-1> on Linux,
// COMn on Windows).
namespace PortResolver {

QString DevicePath(int i_iPort);

// Which of the three gave the path: "LUMOQ4_COM1", "the setting Ports/COM1" or "the default".
QString Source(int i_iPort);

// The value of LUMOQ4_COMn, empty when it is not set; while set, it wins over the setting.
QString FromEnvironment(int i_iPort);
QString EnvironmentName(int i_iPort);

// True when COMn is mapped: LUMOQ4_COMn or "Ports"/"COMn" names a device. A blank or
// whitespace value maps nothing. The one judge of it, for the resolver and for every rule that
// depends on it.
bool IsMapped(int i_iPort);

// Writes "Ports"/"COMn" (a device path or a link to one); RemoveMapping deletes it, so that
// COMn leads to the platform's own name again.
void SetMapping(int i_iPort, const QString& i_sPath);
void RemoveMapping(int i_iPort);

} // namespace PortResolver
