#pragma once

#include <QByteArray>
#include <QString>

// The EPSON controls and sequences by name, with what they do: "US $ cursor to column 20,
// line 2", "ESC R 11 national character set B: East Europe".
namespace EpsonWords {

QString Sequence(const QByteArray& i_bBytes);

} // namespace EpsonWords
