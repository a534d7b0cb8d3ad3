#include "core/ports/NativeDevice.h"

// Windows has no device files to look at: a port's presence, its use by another program
// ("Access is denied") and the user's rights show when it is opened.
namespace NativeDevice {

bool Present(const QString& i_sPath) {
    Q_UNUSED(i_sPath);
    return true;
}

bool ReadWritable(const QString& i_sPath) {
    Q_UNUSED(i_sPath);
    return true;
}

bool IsPseudoTerminal(const QString& i_sPath) {
    Q_UNUSED(i_sPath);
    return false;
}

bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy) {
    Q_UNUSED(i_sPath);
    o_sWhy.clear();
    return true;
}

bool ProcessAlive(qint64 i_lPid) {
    Q_UNUSED(i_lPid);
    return false;
}

// The system's own name; from COM10 on only the device namespace reaches the port.
QString DefaultPath(int i_iPort) {
    return i_iPort >= 10 ? QStringLiteral("\\\\.\\COM%1").arg(i_iPort)
                         : QStringLiteral("COM%1").arg(i_iPort);
}

} // namespace NativeDevice
