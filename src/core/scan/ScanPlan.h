#pragma once

#include "core/ports/SerialDevice.h"
#include "core/scan/ScanObserver.h"

#include <QList>
#include <QStringList>

// The order in which Find Display tries devices and line settings, and how long its first
// pass waits at each.
namespace ScanPlan {

// Every rate of i_rates with every parity of i_parities: the current pair first, then the
// rates 19200, 9600 and 38400, then the others in list order; at each rate the current parity
// first, then the others in list order.
QList<ScanSetting> Settings(const QStringList& i_rates, const QStringList& i_parities,
                            const ScanSetting& i_current);

// The device that the selected port leads to (i_sSelected) alone. Only when the technician
// asks for it (i_blnAllDevices) every other device of i_devices follows: on a till those are
// printers, scanners, scales and cash drawers, which the query reaches as other bytes. A
// device named twice (by its path and by a link) is tried once.
SerialDeviceList Candidates(const QString& i_sSelected, const SerialDeviceList& i_devices,
                            bool i_blnAllDevices);

// The first pass's wait at a rate for the reply to begin: what the query and a reply of up to
// 16 bytes need on the line, plus 100 ms for the display to answer.
int FirstPassWaitMs(const QString& i_sBaudRate);

// How long a reply that has begun is given to end in the first pass: 16 bytes on the line
// and 20 ms.
int FirstPassSettleMs(const QString& i_sBaudRate);

} // namespace ScanPlan
