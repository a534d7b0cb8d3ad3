#pragma once

#include <QString>
#include <array>

// The display's answer to ESC [0c, for example ESC [?1;2;3;4;5c: after three leading
// characters come the type of display, the PROM version, the character set, the number of
// lines and the columns per line, separated by ";" and closed by "c".
namespace IdentificationAnswer {

// The five fields in that order; a field whose delimiters are missing is empty.
std::array<QString, 5> Fields(const QString& i_sAnswer);

// The text the technician reads: "Return Code: " and the answer, an empty line, then one
// line per field, lines separated by CR LF.
QString MessageText(const QString& i_sAnswer);

} // namespace IdentificationAnswer
