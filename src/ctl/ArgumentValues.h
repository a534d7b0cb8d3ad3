#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Command arguments read as the main window's lists and spinners take them.
namespace ArgumentValues {

// A whole number from i_iFirst to i_iLast (a spinner's range).
std::optional<int> InRange(const QString& i_sText, int i_iFirst, int i_iLast);

// A row of i_list: its index from 0, or its text (any case).
std::optional<int> ListRow(const QString& i_sText, const QStringList& i_list);

// The international code list's row: the index 0..14, the code ("A" for row 10), the row's
// text ("4: Denmark I") or the country ("Denmark I"), in any case.
std::optional<int> InternationalCode(const QString& i_sText);

// A baud rate of the list ("9600"), and a parity in any case, as the list spells it ("EVEN").
std::optional<QString> BaudRate(const QString& i_sText);
std::optional<QString> Parity(const QString& i_sText);

// Hexadecimal bytes, in words of whole bytes: "1b 40" or "1B40". Empty when a word is not.
QByteArray HexBytes(const QStringList& i_words);

// The firmware dialog's image kind list: 0 "Encripted - PX", 1 "Not Encripted - ZX"; also
// "px", "zx" and the index.
std::optional<int> CodeType(const QString& i_sText);

} // namespace ArgumentValues
