#pragma once

#include <QtGlobal>
#include <array>

// 5x7 dot patterns of the display's character generator. Column-wise, bit 0 the top row.
namespace DotMatrixFont {

using Glyph = std::array<quint8, 5>;

// The pattern a cell byte shows. 0xB2 lights every dot; bytes outside printable ASCII are
// drawn from the character they stand for in the display's character set.
Glyph ForByte(quint8 i_cByte);

} // namespace DotMatrixFont
