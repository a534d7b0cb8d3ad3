// Feeds the screen model an arbitrary byte stream and checks after every byte that the cursor
// is on the grid and that the escape buffer is empty whenever no sequence is being collected.
//
// Input: byte 0 chooses the grid (1..6 lines, 1..40 columns from its two halves and byte 1);
// if its top bit is set, the grid is resized once more halfway through the stream to the size
// chosen by byte 1. Every following byte is one key.

#include "core/vt100/CVT100.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool i_blnOk, const char* i_sWhat) {
    if (!i_blnOk) {
        std::fprintf(stderr, "invariant broken: %s\n", i_sWhat);
        std::abort();
    }
}

void CheckModel(const CVT100& i_model, qint16 i_iRows, qint16 i_iCols) {
    qint16 y = 0;
    qint16 x = 0;
    i_model.GetCursorPosition(y, x);
    Check(y >= 1 && y <= i_iRows, "cursor line on the grid");
    Check(x >= 1 && x <= i_iCols, "cursor column on the grid");
    Check(i_model.InEscape() || i_model.EscapeBuffer().isEmpty(),
          "escape buffer empty outside a sequence");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    qint16 rows = static_cast<qint16>(1 + (data[0] & 0x07) % 6);
    qint16 cols = static_cast<qint16>(1 + data[1] % 40);
    const bool resize = (data[0] & 0x80) != 0;
    const auto laterRows = static_cast<qint16>(1 + ((data[0] >> 3) & 0x0F) % 6);
    const auto laterCols = static_cast<qint16>(1 + (data[1] >> 2) % 40);

    CVT100 model;
    model.SetDisplaySize(rows, cols);
    CheckModel(model, rows, cols);
    const std::size_t half = 2 + (size - 2) / 2;
    for (std::size_t i = 2; i < size; ++i) {
        if (resize && i == half) {
            rows = laterRows;
            cols = laterCols;
            model.SetDisplaySize(rows, cols);
            CheckModel(model, rows, cols);
        }
        model.setKey(data[i]);
        CheckModel(model, rows, cols);
    }

    // The whole grid reads back, and a short array is refused untouched.
    const std::size_t cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    std::vector<qint16> grid(cells, -1);
    model.GetData(grid);
    for (const qint16 code : grid) {
        Check(code >= 0 && code <= 255, "cells hold the bytes that were keyed");
    }
    std::vector<qint16> shortArray(cells - 1, -1);
    model.GetData(shortArray);
    for (const qint16 code : shortArray) {
        Check(code == -1, "short array left unchanged");
    }
    model.SetData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    CheckModel(model, rows, cols);
    return 0;
}
