#pragma once

class QLineEdit;
class QString;

// A text box whose maximum length limits what the technician types, not what the program puts
// into it: a reply from the display longer than the limit is shown whole.
namespace TypingLimit {

// The longest text the technician can type into i_pBox.
void Set(QLineEdit* i_pBox, int i_iLimit);

// Puts i_sText into i_pBox whole. While it is longer than the limit, typing adds nothing to it;
// once edited back within the limit, the limit holds again.
void ShowWhole(QLineEdit* i_pBox, const QString& i_sText);

} // namespace TypingLimit
