#pragma once

#include "core/protocol/ProtocolDecoder.h"
#include "core/serial/LineTap.h"
#include "gui/monitor/MonitorRow.h"

#include <deque>

// The line monitor's rows: the tap's events decoded and grouped by command, one group from
// an open to its close. Bytes with no open before them (the record began while the port was
// open) get a group of their own. At most i_iMaxRows rows are kept; the oldest groups go first
// and their rows are counted as dropped. A group that alone holds more (one long open: the
// VT100 window, a chatty display, a large image) loses its oldest rows, a tenth of the bound
// at a time so that a view rebuilds seldom; the time stamps go with them.
//
// What changed since the last TakeChanges() tells a view which rows to add.
class LineRows {
public:
    struct Changes {
        // Groups gone from the front that had been there before.
        int groupsDropped = 0;
        // Groups there before that gained rows: serial and the row count before.
        std::vector<std::pair<quint64, size_t>> grown;
        // The groups from this serial on are new.
        quint64 firstAdded = 0;
        // A group there before lost rows from its front: the row numbers a view holds for it
        // no longer hold, and it is shown afresh.
        bool rowsCut = false;
    };

    explicit LineRows(size_t i_iMaxRows = LineTap::kCapacity);

    // Takes the tap's event numbered i_lNumber.
    void Take(quint64 i_lNumber, const TapEvent& i_event);

    // The rows still under way (text being typed, a reply not yet ended), as they would end
    // now; they belong after the last group's rows.
    std::vector<MonitorRow> Pending() const;

    Changes TakeChanges();
    void Clear();

    const std::deque<MonitorGroup>& Groups() const { return m_groups; }
    // The group with this serial, or nullptr once it has gone.
    const MonitorGroup* Group(quint64 i_lSerial) const;
    size_t RowCount() const { return m_iRows; }
    quint64 DroppedRows() const { return m_lDropped; }

private:
    MonitorGroup& newGroup(MonitorGroup::Kind i_kind, quint64 i_lNumber, qint64 i_lUsec);
    void place(const ProtocolEvents& i_events);
    void append(MonitorGroup& io_group, MonitorRow i_row);
    MonitorGroup& groupOf(quint64 i_lNumber);
    MonitorGroup& openGroup(quint64 i_lNumber, qint64 i_lUsec);
    void trim();
    // Cuts the oldest rows of the one group left when it holds more than the bound.
    void cutFront();
    void trimTimes();

    size_t m_iMaxRows;
    ProtocolDecoder m_decoder;
    std::deque<MonitorGroup> m_groups;
    quint64 m_lNextSerial = 0;
    size_t m_iRows = 0;
    quint64 m_lDropped = 0;
    // The time of each tap event the decoder may still name as an event's first byte.
    std::deque<std::pair<quint64, qint64>> m_times;
    Changes m_changes;
};
