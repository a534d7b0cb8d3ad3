#include "gui/monitor/MonitorText.h"

#include "core/protocol/DisplayText.h"
#include "core/protocol/EventMeaning.h"

namespace MonitorText {

QString Time(qint64 i_lUsec, const Clock& i_clock) {
    if (i_clock.clockTime) {
        const QDateTime at = i_clock.start.addMSecs(i_lUsec / 1000);
        return at.toString(QStringLiteral("HH:mm:ss.zzz")) +
               QStringLiteral("%1").arg(i_lUsec % 1000, 3, 10, QLatin1Char('0'));
    }
    const qint64 since = i_lUsec - i_clock.originUsec;
    return QStringLiteral("%1.%2")
        .arg(since / 1000000)
        .arg(since % 1000000, 6, 10, QLatin1Char('0'));
}

QString Direction(const MonitorRow& i_row) {
    if (i_row.kind == MonitorRow::Kind::Closed) {
        return QString();
    }
    return i_row.event.direction == LineDirection::ToDisplay ? QStringLiteral("→")
                                                             : QStringLiteral("←");
}

QString Bytes(const MonitorRow& i_row) {
    return DisplayText::Hex(i_row.event.bytes);
}

QString Meaning(const MonitorRow& i_row) {
    if (i_row.kind == MonitorRow::Kind::Closed) {
        return i_row.reason.isEmpty() ? QStringLiteral("close")
                                      : QStringLiteral("closed: ") + i_row.reason;
    }
    return EventMeaning::Of(i_row.event);
}

QString GroupMeaning(const MonitorGroup& i_group) {
    QString words;
    switch (i_group.kind) {
    case MonitorGroup::Kind::Opened:
        words = QStringLiteral("open %1 %2").arg(i_group.path, i_group.settings);
        break;
    case MonitorGroup::Kind::OpenFailed:
        return QStringLiteral("open failed: ") + i_group.reason;
    case MonitorGroup::Kind::AlreadyOpen:
        words = QStringLiteral("the port was open before the record begins");
        break;
    }
    // What the command began with, so that a folded group still says what it was.
    if (!i_group.rows.empty() && i_group.rows.front().kind == MonitorRow::Kind::Event) {
        words += QStringLiteral(" — ") + Meaning(i_group.rows.front());
    }
    return words;
}

bool StandsOut(const MonitorRow& i_row) {
    if (i_row.kind == MonitorRow::Kind::Closed) {
        return !i_row.reason.isEmpty();
    }
    return EventMeaning::StandsOut(i_row.event);
}

bool StandsOut(const MonitorGroup& i_group) {
    return i_group.kind == MonitorGroup::Kind::OpenFailed;
}

QString LogLine(const QString& i_sTime, const QString& i_sDirection, const QString& i_sBytes,
                const QString& i_sMeaning) {
    QString line = i_sTime.rightJustified(12) + QStringLiteral("  ") +
                   (i_sDirection.isEmpty() ? QStringLiteral(" ") : i_sDirection) +
                   QStringLiteral("  ");
    if (!i_sBytes.isEmpty()) {
        line += i_sBytes + QStringLiteral("  ");
    }
    return line + i_sMeaning;
}

} // namespace MonitorText
