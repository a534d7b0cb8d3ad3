#include "core/ports/SysfsPorts.h"
#include "core/ports/SystemDeviceSource.h"

SerialDeviceList SystemDeviceSource::Enumerate() {
    return SysfsPorts::List(m_sSysRoot, m_sUdevData, m_sDevRoot);
}
