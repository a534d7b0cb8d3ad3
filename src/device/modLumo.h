#pragma once

#include "device/WaitClock.h"

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
// program is ending (AbandonWaits), it returns at once so that running commands unwind.
void WaitMilliseconds(qint64 ms);

// Processes pending events once, where an application object exists.
void ProcessEvents();

// The clock in force; SetClock(nullptr) restores the real one. The clock is not owned.
WaitClock& Clock();
void SetClock(WaitClock* i_pClock);

// Called when the program ends: every later wait returns at once.
void AbandonWaits();
bool WaitsAbandoned();

// Sum of all bytes modulo 256.
qint32 GetCheckSum(const QByteArray& i_bData);

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR.
qint32 GetCRC16(const QByteArray& i_bData);

} // namespace modLumo
