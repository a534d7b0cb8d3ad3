#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// The bytes of the XModem sender: 128-byte blocks framed as SOH, number, 255 - number, data,
// trailer. The trailer is the CRC-16 (two bytes, high first) for check type 1 and the 8-bit
// checksum (one byte) for every other check type.
namespace XModemBlock {

constexpr int DataSize = 128;

constexpr char SOH = '\x01';
constexpr char EOT = '\x04';
constexpr char ACK = '\x06';
constexpr char NAK = '\x15';
constexpr char CAN = '\x18';
constexpr char SUB = '\x1A';
constexpr char ESC = '\x1B';

// SOH, n, 255 - n with n the 1-based block index modulo 256.
QByteArray Header(qint64 i_lIndex);

// The check bytes of a block's data.
QByteArray Trailer(const QByteArray& i_bData, qint32 i_CheckSumType);

// The data of the last, short block: the rest of the file followed by SUB up to 128 bytes.
QByteArray Padded(const QByteArray& i_bRest);

// The check type that follows the receiver's start request, as sx does: "C" means CRC-16
// (type 1), NAK the checksum (type 0).
constexpr qint32 FollowStartRequest = -1;

// The receiver's start request for a check type: "C" for CRC, NAK for the checksum; none for
// any other type, whose transfer starts without waiting (FollowStartRequest waits for either).
std::optional<char> StartRequest(qint32 i_CheckSumType);

// Percent of the full blocks sent after block i_lIndex of i_lCount, rounded half to even.
qint16 ProgressAfter(qint64 i_lIndex, qint64 i_lCount);

// The closing command after EOT: ESC, then "R" CR, written separately.
QByteArray RebootPrefix();
QByteArray RebootCommand();

// What a sender writes instead of EOT when it gives up before every block was accepted: two
// CAN bytes, so that the receiver drops what it has and waits for the file again.
QByteArray Abort();

} // namespace XModemBlock
