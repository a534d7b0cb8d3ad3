#include "DecoderScript.h"

#include "core/protocol/EventMeaning.h"
#include "core/protocol/ProtocolDecoder.h"

DecoderStep Out(const char* i_sHex) {
    return OutBytes(QByteArray::fromHex(QByteArray(i_sHex)));
}

DecoderStep In(const char* i_sHex) {
    return InBytes(QByteArray::fromHex(QByteArray(i_sHex)));
}

DecoderStep OutBytes(const QByteArray& i_bBytes) {
    return {DecoderStep::Kind::Out, i_bBytes, LineContext::Display};
}

DecoderStep InBytes(const QByteArray& i_bBytes) {
    return {DecoderStep::Kind::In, i_bBytes, LineContext::Display};
}

DecoderStep Closed() {
    return {DecoderStep::Kind::Boundary, {}, LineContext::Display};
}

DecoderStep Hint(LineContext i_context) {
    return {DecoderStep::Kind::Hint, {}, i_context};
}

QString HexOf(const QByteArray& i_bBytes) {
    return QString::fromLatin1(i_bBytes.toHex(' ').toUpper());
}

QStringList Decode(const DecoderScript& i_script) {
    ProtocolDecoder decoder;
    QStringList lines;
    const auto take = [&lines](const ProtocolEvents& i_events) {
        for (const ProtocolEvent& e : i_events) {
            const QString arrow = e.direction == LineDirection::ToDisplay ? QStringLiteral("→ ")
                                                                          : QStringLiteral("← ");
            lines << arrow + HexOf(e.bytes) + QStringLiteral("  ") + EventMeaning::Of(e);
        }
    };
    for (const DecoderStep& step : i_script) {
        switch (step.kind) {
        case DecoderStep::Kind::Out:
            take(decoder.Feed(LineDirection::ToDisplay, step.bytes));
            break;
        case DecoderStep::Kind::In:
            take(decoder.Feed(LineDirection::FromDisplay, step.bytes));
            break;
        case DecoderStep::Kind::Boundary:
            take(decoder.Boundary());
            break;
        case DecoderStep::Kind::Hint:
            take(decoder.SetContext(step.context));
            break;
        }
    }
    take(decoder.Flush());
    return lines;
}

QStringList Disagreements(const DecoderScript& i_script) {
    const QStringList whole = Decode(i_script);
    QStringList found;
    DecoderScript bytewise;
    for (size_t i = 0; i < i_script.size(); ++i) {
        const DecoderStep& step = i_script[i];
        for (int cut = 1; cut < step.bytes.size(); ++cut) {
            DecoderScript split = i_script;
            split[i].bytes = step.bytes.left(cut);
            DecoderStep rest = step;
            rest.bytes = step.bytes.mid(cut);
            split.insert(split.begin() + static_cast<std::ptrdiff_t>(i) + 1, rest);
            if (Decode(split) != whole) {
                found << QStringLiteral("piece %1 cut after byte %2").arg(i).arg(cut);
            }
        }
        if (step.bytes.isEmpty()) {
            bytewise.push_back(step);
        }
        for (const char c : step.bytes) {
            DecoderStep one = step;
            one.bytes = QByteArray(1, c);
            bytewise.push_back(one);
        }
    }
    if (Decode(bytewise) != whole) {
        found << QStringLiteral("byte by byte");
    }
    return found;
}
