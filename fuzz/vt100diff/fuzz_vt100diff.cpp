// Feeds any byte stream to the window's screen model (CVT100) and to the simulated display in
// VT100 mode, and stops at the first byte after which they show a different screen or put the
// cursor elsewhere. The display's own commands ESC R n and ESC B n are left out of the stream
// (see Vt100Screens.h): the window never passes them through its model.

#include "Vt100Screens.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Report(const char* i_sWhat, const QString& i_sModel, const QString& i_sDisplay,
            std::size_t i_iByte) {
    std::fprintf(stderr,
                 "screens disagree on the %s after byte %zu\n  model:   [%s]\n  display: [%s]\n",
                 i_sWhat, i_iByte, qPrintable(i_sModel), qPrintable(i_sDisplay));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ModelScreen model;
    SimulatorScreen display;
    for (std::size_t i = 0; i < size; ++i) {
        if (model.IsDisplayCommand(data[i])) {
            continue;
        }
        model.Feed(data[i]);
        display.Feed(data[i]);
        if (model.Text() != display.Text()) {
            Report("text", model.Text(), display.Text(), i);
        }
        if (model.CursorLine() != display.CursorLine() ||
            model.CursorColumn() != display.CursorColumn()) {
            Report(
                "cursor", QStringLiteral("%1,%2").arg(model.CursorLine()).arg(model.CursorColumn()),
                QStringLiteral("%1,%2").arg(display.CursorLine()).arg(display.CursorColumn()), i);
        }
    }
    return 0;
}
