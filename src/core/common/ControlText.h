#pragma once

#include <QByteArray>
#include <QString>

// Text that came from the display (or from anything else on the cable) made safe to show:
// every control character, C0 (0x00..0x1F), DEL (0x7F) and C1 (0x80..0x9F), is written as two
// hexadecimal digits in angle brackets, "<1B>", the form the line trace uses for control bytes.
// A terminal then never sees an escape sequence it would act on.
namespace ControlText {

bool IsControl(char16_t i_cCode);

// The text with each control character as <XX>; everything else unchanged.
QString Escaped(const QString& i_sText);

} // namespace ControlText
