#pragma once

#include <QString>
#include <optional>

// Numbers typed by the technician or stored in the settings, read the same way everywhere:
// the number at the start of the text (blanks skipped, optional sign, digits, optional
// decimal fraction), 0 when the text does not start with one, rounded half to even.
namespace NumberText {

// The number at the start of the text; 0 when there is none.
double LeadingNumber(const QString& i_sText);

// The value when the whole text is a number: optional blanks, an optional sign, digits with
// an optional decimal point and fraction, optional blanks ("12", "-1", "2.5", "2."). An empty
// or blank text is not a number here; callers that treat it as 0 say so themselves.
std::optional<double> WholeNumber(const QString& i_sText);

// Nearest integer, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double i_dValue);

// The value rounded half to even; throws LumoError (Overflow) outside -32768..32767.
qint16 ToInt16(double i_dValue);

// LeadingNumber, then ToInt16.
qint16 ReadInt16(const QString& i_sText);

} // namespace NumberText
