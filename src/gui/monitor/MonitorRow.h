#pragma once

#include "core/protocol/ProtocolEvent.h"

#include <QString>
#include <vector>

// One row of the line monitor inside a group: a decoded stretch of the line, or the close
// that ends the group.
struct MonitorRow {
    enum class Kind : quint8 { Event, Closed };

    Kind kind = Kind::Event;
    // Microseconds on the tap's clock: the piece that held the event's first byte.
    qint64 usec = 0;
    ProtocolEvent event;
    // Closed: why the port closed itself (empty when the program closed it).
    QString reason;
};

// One command, from the port's open to its close: the rows it holds, or a failed open.
struct MonitorGroup {
    enum class Kind : quint8 { Opened, OpenFailed, AlreadyOpen };

    // A number that stays with the group while older groups go.
    quint64 serial = 0;
    // The tap's number of the event that began the group.
    quint64 number = 0;
    qint64 usec = 0;
    Kind kind = Kind::Opened;
    QString path;
    QString settings;
    QString reason;
    std::vector<MonitorRow> rows;
    bool closed = false;
};
