// Feeds the line decoder any traffic, in any pieces, and checks that it never crashes, that
// the events are the same however the pieces are cut (as written, byte by byte, and with the
// pieces of one direction joined), that no byte is dropped or reordered (the events of each
// direction hold exactly the bytes fed), that Peek() changes nothing, and that every event has
// words.
//
// The input is a list of steps. A step byte s: s % 4 == 0 bytes to the display, 1 bytes from
// it (in both cases the next byte gives the length less one, modulo 48, and the bytes follow),
// 2 a closed port, 3 a hint (the next byte modulo 5 picks the context).

#include "support/FuzzSupport.h"

#include "core/protocol/EventMeaning.h"
#include "core/protocol/ProtocolDecoder.h"

#include <vector>

namespace {

struct Step {
    enum class Kind { Out, In, Boundary, Hint } kind;
    QByteArray bytes;
    LineContext context = LineContext::Display;
};

std::vector<Step> parse(const uint8_t* i_pData, size_t i_iSize) {
    FuzzBytes in(i_pData, i_iSize);
    std::vector<Step> steps;
    while (!in.Empty()) {
        const uint8_t s = in.Byte();
        Step step{static_cast<Step::Kind>(s % 4), {}, LineContext::Display};
        if (step.kind == Step::Kind::Out || step.kind == Step::Kind::In) {
            const int length = in.Byte() % 48 + 1;
            for (int i = 0; i < length && !in.Empty(); ++i) {
                step.bytes.append(static_cast<char>(in.Byte()));
            }
        } else if (step.kind == Step::Kind::Hint) {
            step.context = static_cast<LineContext>(in.Byte() % 5);
        }
        steps.push_back(step);
    }
    return steps;
}

ProtocolEvents decode(const std::vector<Step>& i_steps, bool i_blnPeek) {
    ProtocolDecoder decoder;
    ProtocolEvents all;
    const auto take = [&all](const ProtocolEvents& i_events) {
        all.insert(all.end(), i_events.begin(), i_events.end());
    };
    for (const Step& step : i_steps) {
        if (i_blnPeek) {
            const ProtocolEvents peeked = decoder.Peek();
            Check(peeked.size() <= 3);
        }
        switch (step.kind) {
        case Step::Kind::Out:
            take(decoder.Feed(LineDirection::ToDisplay, step.bytes));
            break;
        case Step::Kind::In:
            take(decoder.Feed(LineDirection::FromDisplay, step.bytes));
            break;
        case Step::Kind::Boundary:
            take(decoder.Boundary());
            break;
        case Step::Kind::Hint:
            take(decoder.SetContext(step.context));
            break;
        }
    }
    take(decoder.Flush());
    return all;
}

bool same(const ProtocolEvents& a, const ProtocolEvents& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!a[i].SameAs(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<Step> byteByByte(const std::vector<Step>& i_steps) {
    std::vector<Step> out;
    for (const Step& step : i_steps) {
        if (step.bytes.isEmpty()) {
            out.push_back(step);
        }
        for (const char c : step.bytes) {
            out.push_back({step.kind, QByteArray(1, c), step.context});
        }
    }
    return out;
}

std::vector<Step> joined(const std::vector<Step>& i_steps) {
    std::vector<Step> out;
    for (const Step& step : i_steps) {
        const bool bytes = step.kind == Step::Kind::Out || step.kind == Step::Kind::In;
        if (bytes && !out.empty() && out.back().kind == step.kind) {
            out.back().bytes += step.bytes;
        } else {
            out.push_back(step);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<Step> steps = parse(data, size);
    const ProtocolEvents events = decode(steps, false);

    QByteArray fedOut;
    QByteArray fedIn;
    for (const Step& step : steps) {
        (step.kind == Step::Kind::Out ? fedOut : fedIn) += step.bytes;
    }
    QByteArray seenOut;
    QByteArray seenIn;
    for (const ProtocolEvent& event : events) {
        Check(!event.bytes.isEmpty());
        Check(!EventMeaning::Of(event).isEmpty());
        (event.direction == LineDirection::ToDisplay ? seenOut : seenIn) += event.bytes;
    }
    Check(seenOut == fedOut && seenIn == fedIn);

    Check(same(events, decode(byteByByte(steps), false)));
    Check(same(events, decode(joined(steps), false)));
    Check(same(events, decode(steps, true)));
    return 0;
}
