// Feeds arbitrary bytes to the simulated display, one read at a time, and checks that it never
// crashes, keeps its cursor on the screen, and that its frame parser passes on at most the two
// bytes it may hold back.

#include "DisplayEmulator.h"
#include "NativeFrameParser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    NativeFrameParser parser;
    for (size_t i = 0; i < size; ++i) {
        const NativeFrameParser::Step step = parser.Feed(data[i]);
        if (step.passOn.size() > 2 ||
            (step.frameDone && !step.overlong && !step.frame.startsWith("\x04\x01"))) {
            std::abort();
        }
    }

    DisplayEmulator::Options options;
    options.vt100 = (data[0] & 1) != 0;
    DisplayEmulator display(options);
    size_t pos = 1;
    while (pos < size) {
        const size_t chunk = 1 + data[pos - 1] % 16;
        const QByteArray bytes(reinterpret_cast<const char*>(data + pos),
                               static_cast<qsizetype>(std::min(chunk, size - pos)));
        display.Receive(bytes);
        pos += static_cast<size_t>(bytes.size());
        if (display.CursorRow() < 0 || display.CursorRow() >= display.Rows() ||
            display.CursorColumn() < 0 || display.CursorColumn() >= display.Columns()) {
            std::abort();
        }
        display.Poll();
    }
    return 0;
}
