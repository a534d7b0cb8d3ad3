#pragma once

#include "gui/monitor/MonitorRow.h"

#include <QDateTime>
#include <QString>

// The texts of the line monitor's columns, shared by the table, Copy and Save.
namespace MonitorText {

// How a time is shown: seconds since the first event ("12.345678"), or the clock time
// ("18:06:45.123456").
struct Clock {
    bool clockTime = false;
    qint64 originUsec = 0;
    QDateTime start; // the clock time of usec 0
};

QString Time(qint64 i_lUsec, const Clock& i_clock);
// "→" to the display, "←" from it; nothing for a close.
QString Direction(const MonitorRow& i_row);
// "04 01 49 34 17".
QString Bytes(const MonitorRow& i_row);
QString Meaning(const MonitorRow& i_row);
// "open /dev/pts/3 19200n,8,1 — read the version" (with the meaning of the group's first
// row), "open failed: ...".
QString GroupMeaning(const MonitorGroup& i_group);
// NAKs, bad blocks, unknown bytes, closes on a fault.
bool StandsOut(const MonitorRow& i_row);
bool StandsOut(const MonitorGroup& i_group);

// One line of a saved log: time, direction, bytes and meaning, two spaces apart.
QString LogLine(const QString& i_sTime, const QString& i_sDirection, const QString& i_sBytes,
                const QString& i_sMeaning);

} // namespace MonitorText
