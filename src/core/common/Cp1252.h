#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of the display's character table. Qt has no codec
// for it. A character the code page cannot represent is sent as "?".
namespace Cp1252 {
QByteArray Encode(const QString& i_sText);
QString Decode(const QByteArray& i_bData);
} // namespace Cp1252
