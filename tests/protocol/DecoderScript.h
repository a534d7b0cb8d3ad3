#pragma once

// A stretch of line traffic written down as steps (bytes out, bytes in, a closed port, a
// hint), decoded into one line per event: "→ 04 01 49 34 17  set international code 4: ...".
// EveryCut() decodes it again with each piece cut in two at every position, and byte by byte,
// since the events must not depend on how the bytes arrive.

#include "core/protocol/LineContext.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

struct DecoderStep {
    enum class Kind { Out, In, Boundary, Hint };
    Kind kind = Kind::Out;
    QByteArray bytes;
    LineContext context = LineContext::Display;
};

using DecoderScript = std::vector<DecoderStep>;

// Bytes given as hexadecimal text: Out("04 01 49 34 17").
DecoderStep Out(const char* i_sHex);
DecoderStep In(const char* i_sHex);
DecoderStep OutBytes(const QByteArray& i_bBytes);
DecoderStep InBytes(const QByteArray& i_bBytes);
DecoderStep Closed();
DecoderStep Hint(LineContext i_context);

// One line per event, in the order they came out (a final Flush included).
QStringList Decode(const DecoderScript& i_script);

// Every way of cutting the pieces that gives other lines than the script as written, each
// described; empty when all agree.
QStringList Disagreements(const DecoderScript& i_script);

// "01 01 FE 61 62 63 ..": hexadecimal as the lines show it.
QString HexOf(const QByteArray& i_bBytes);
