#pragma once

#include <QByteArray>
#include <QString>

// The text that display bytes stand for. The program maps each Windows-1252 character of a
// message to the byte the display shows it with (é goes out as 0x82); this undoes that mapping,
// so 0x82 reads as é again. A byte that no character was mapped to reads as its own
// Windows-1252 character; control codes (C0, DEL and C1) read as <0B>.
namespace DisplayText {

QString Decode(const QByteArray& i_bBytes);

// The decoded text in double quotes.
QString Quoted(const QByteArray& i_bBytes);

// Two upper-case hexadecimal digits a byte, separated by spaces: "04 01 49 34 17".
QString Hex(const QByteArray& i_bBytes);

} // namespace DisplayText
