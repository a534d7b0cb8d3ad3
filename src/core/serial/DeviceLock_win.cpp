#include "core/serial/DeviceLock.h"

// Windows opens a serial port exclusively by itself.
void DeviceLock::Take(const QString& i_sPath) {
    Q_UNUSED(i_sPath);
}

void DeviceLock::Release() {}
