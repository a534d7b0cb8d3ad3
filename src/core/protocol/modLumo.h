#pragma once

#include "core/protocol/WaitClock.h"

#include <QByteArray>
#include <array>

// Routines shared by every session: the wait for the display, the character table applied to
// outgoing text, and the two block checks of the file sender.
namespace modLumo {

// Display byte for each Windows-1252 byte. Filled by BuildCharacterTable.
extern std::array<qint16, 256> CharacterTable;

void BuildCharacterTable();

// Returns once strictly more than ms milliseconds have passed on the monotonic clock, with
// pending events processed meanwhile. It idles on the event loop and never spins. Once the
// program is ending (AbandonWaits) or a stop is requested (RequestStop), it returns at once so
// that running commands unwind.
void WaitMilliseconds(qint64 ms);

// Processes pending events once, where an application object exists.
void ProcessEvents();

// The clock in force; SetClock(nullptr) restores the real one. The clock is not owned.
WaitClock& Clock();
void SetClock(WaitClock* i_pClock);

// Called when the program ends: every later wait returns at once.
void AbandonWaits();
bool WaitsAbandoned();

// A stop request (in lumoq4ctl: Ctrl+C, SIGTERM or SIGHUP): from then on every wait returns at
// once, so that the running command unwinds within moments. RequestStop only stores a flag and
// may be called from a signal handler; WakeWaits, called afterwards from the event loop, ends a
// wait that is idling now. The window never requests a stop.
void RequestStop();
bool StopRequested();
void WakeWaits();

// Sum of all bytes modulo 256.
qint32 GetCheckSum(const QByteArray& i_bData);

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR.
qint32 GetCRC16(const QByteArray& i_bData);

} // namespace modLumo
