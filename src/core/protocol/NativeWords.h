#pragma once

#include <QByteArray>
#include <QString>

// What a native frame asks of the display, in the words of the main window's lists:
// "set international code 4: Denmark I", "clear cells 1..40".
namespace NativeWords {

QString Frame(const QByteArray& i_bFrame, bool i_blnMalformed);

} // namespace NativeWords
