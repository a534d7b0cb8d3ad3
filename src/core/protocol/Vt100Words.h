#pragma once

#include <QByteArray>
#include <QString>

// The VT100 controls and sequences by name, and the VT100 display's two answers.
namespace Vt100Words {

QString Sequence(const QByteArray& i_bBytes);
// The answer to ESC [0c: the text after ESC.
QString Identification(const QByteArray& i_bBytes);

} // namespace Vt100Words
