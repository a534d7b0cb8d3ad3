#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <optional>

// The display's native command set: frames EOT SOH letter [p1 [p2]] ETB, and its replies.
namespace NativeFrames {

// The frame for a command letter and its parameter bytes (0 to 2 of them).
QByteArray Frame(char i_cLetter, std::initializer_list<quint8> i_params = {});

// base + value, rounded half to even, when the result is a byte (0..255).
std::optional<quint8> ParameterByte(double i_dValue, int i_iBase);

// Baud-rate and parity codes of the "B" command; exact, case-sensitive texts.
std::optional<char> BaudRateCode(const QString& i_sBaudRate);
std::optional<char> ParityCode(const QString& i_sParity);
// The other way round: the texts a code stands for ("300 or 38400" for "6"); empty for a code
// the display does not know.
QString BaudRateText(char i_cCode);
QString ParityText(char i_cCode);

// 0 when the first byte is ACK (0x06), -6 otherwise.
int AcknowledgementStatus(const QByteArray& i_bReply);

// Message read-back: SOH, the text bytes, one closing byte. 0 with the text bytes in
// o_bText, or -6 when the reply does not start with SOH.
int ParseMessageReply(const QByteArray& i_bReply, QByteArray& o_bText);

// Version reply: at least four bytes, all of them the version text. 0 or -6.
int ParseVersionReply(const QByteArray& i_bReply, QByteArray& o_bText);

// How long the version query waits: up to VersionMaxCount + 1 polls spaced by VersionIdleMs
// for the reply to begin, then VersionSettleMs for the rest of it.
constexpr int VersionIdleMs = 100;
constexpr int VersionMaxCount = 10;
constexpr int VersionSettleMs = 300;

} // namespace NativeFrames
