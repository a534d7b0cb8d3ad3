#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The display's own character set: ASCII below 0x80 and the classic PC code page above, which
// is where the utility's character table puts the Windows-1252 letters (é arrives as 0x82).
namespace DisplayCharset {

// The character a cell byte shows. Control codes show as a middle dot, the fully lit cell
// (0xB2) as a full block.
QChar ToUnicode(quint8 i_cByte);

// The cell bytes as text, one character per byte.
QString Decode(const QByteArray& i_bCells);

// A printable rendering for log lines: characters as the display shows them, control codes
// as <xx>.
QString Printable(const QByteArray& i_bBytes);

} // namespace DisplayCharset
