#include "ctl/LineTrace.h"

#include "core/common/ControlText.h"
#include "core/protocol/DisplayText.h"
#include "core/protocol/EventMeaning.h"

#include <cstdio>

LineTrace::LineTrace(LineTap& io_tap) : m_tap(io_tap) {
    m_tap.AddListener(this);
}

LineTrace::~LineTrace() {
    m_tap.RemoveListener(this);
}

void LineTrace::TapRecorded(const TapEvent& i_event) {
    if (m_lOrigin < 0) {
        m_lOrigin = i_event.usec;
    }
    m_lLast = i_event.usec;
    switch (i_event.kind) {
    case TapEvent::Kind::Written:
    case TapEvent::Kind::Read:
        print(i_event.usec,
              m_decoder.Feed(i_event.kind == TapEvent::Kind::Written ? LineDirection::ToDisplay
                                                                     : LineDirection::FromDisplay,
                             i_event.data));
        break;
    case TapEvent::Kind::Opened:
        print(i_event.usec, m_decoder.Boundary());
        line(i_event.usec, QString(),
             QStringLiteral("open %1 %2").arg(i_event.Path(), i_event.Settings()));
        break;
    case TapEvent::Kind::OpenFailed:
        print(i_event.usec, m_decoder.Boundary());
        line(i_event.usec, QString(), QStringLiteral("open failed: ") + i_event.Reason());
        break;
    case TapEvent::Kind::Closed:
        print(i_event.usec, m_decoder.Boundary());
        line(i_event.usec, QString(),
             i_event.Reason().isEmpty() ? QStringLiteral("close")
                                        : QStringLiteral("closed: ") + i_event.Reason());
        break;
    case TapEvent::Kind::Context:
        print(i_event.usec, m_decoder.SetContext(i_event.context));
        break;
    }
}

void LineTrace::Finish() {
    print(m_lLast, m_decoder.Flush());
}

void LineTrace::print(qint64 i_lUsec, const ProtocolEvents& i_events) {
    for (const ProtocolEvent& event : i_events) {
        line(i_lUsec,
             event.direction == LineDirection::ToDisplay ? QStringLiteral("→")
                                                         : QStringLiteral("←"),
             DisplayText::Hex(event.bytes) + QStringLiteral("  ") + EventMeaning::Of(event));
    }
}

void LineTrace::line(qint64 i_lUsec, const QString& i_sDirection, const QString& i_sRest) {
    const qint64 since = i_lUsec - m_lOrigin;
    const QString time = QStringLiteral("%1.%2")
                             .arg(since / 1000000)
                             .arg(since % 1000000, 6, 10, QLatin1Char('0'))
                             .rightJustified(12);
    const QString text = time + QStringLiteral("  ") +
                         (i_sDirection.isEmpty() ? QStringLiteral(" ") : i_sDirection) +
                         QStringLiteral("  ") + ControlText::Escaped(i_sRest) + QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}
