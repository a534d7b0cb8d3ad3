#pragma once

#include <QString>

// A tool tip of plain lines that may quote the display or a device's own name (a USB adapter's
// manufacturer, a lock holder): control characters are escaped, and the text is never taken
// for markup, whatever it holds.
namespace PlainToolTip {

QString Of(const QString& i_sText);

} // namespace PlainToolTip
