#pragma once

#include <QString>

// An exclusive flock on a serial device, as picocom and tio take one: two programs that lock
// this way cannot share a device, whatever names (links) they reach it by. Held on a
// descriptor of its own, opened before the serial library touches the line, so that a refused
// open changes nothing on it. Where the system has no such lock, taking it always succeeds.
class DeviceLock {
public:
    DeviceLock() = default;
    ~DeviceLock() { Release(); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Locks the device at i_sPath (or the one a link leads to). Throws LumoError
    // (PortUnavailable) when another open of the device holds the lock; a device that cannot
    // be opened here is left to the serial library to report.
    void Take(const QString& i_sPath);
    void Release();

private:
    int m_iFd = -1;
};
