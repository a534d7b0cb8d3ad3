#include "gui/monitor/LineRows.h"

#include <algorithm>
#include <utility>

LineRows::LineRows(size_t i_iMaxRows) : m_iMaxRows(i_iMaxRows) {}

void LineRows::Take(quint64 i_lNumber, const TapEvent& i_event) {
    m_times.emplace_back(i_lNumber, i_event.usec);
    switch (i_event.kind) {
    case TapEvent::Kind::Written:
    case TapEvent::Kind::Read:
        openGroup(i_lNumber, i_event.usec);
        place(m_decoder.Feed(i_event.kind == TapEvent::Kind::Written ? LineDirection::ToDisplay
                                                                     : LineDirection::FromDisplay,
                             i_event.data, i_lNumber));
        break;
    case TapEvent::Kind::Opened: {
        place(m_decoder.Boundary());
        MonitorGroup& group = newGroup(MonitorGroup::Kind::Opened, i_lNumber, i_event.usec);
        group.path = i_event.Path();
        group.settings = i_event.Settings();
        break;
    }
    case TapEvent::Kind::OpenFailed: {
        place(m_decoder.Boundary());
        MonitorGroup& group = newGroup(MonitorGroup::Kind::OpenFailed, i_lNumber, i_event.usec);
        group.path = i_event.Path();
        group.settings = i_event.Settings();
        group.reason = i_event.Reason();
        group.closed = true;
        break;
    }
    case TapEvent::Kind::Closed: {
        place(m_decoder.Boundary());
        MonitorGroup& group = openGroup(i_lNumber, i_event.usec);
        MonitorRow row;
        row.kind = MonitorRow::Kind::Closed;
        row.usec = i_event.usec;
        row.reason = i_event.Reason();
        append(group, row);
        group.closed = true;
        break;
    }
    case TapEvent::Kind::Context:
        place(m_decoder.SetContext(i_event.context));
        break;
    }
    trim();
}

MonitorGroup& LineRows::newGroup(MonitorGroup::Kind i_kind, quint64 i_lNumber, qint64 i_lUsec) {
    MonitorGroup group;
    group.serial = m_lNextSerial++;
    group.number = i_lNumber;
    group.usec = i_lUsec;
    group.kind = i_kind;
    m_groups.push_back(std::move(group));
    return m_groups.back();
}

MonitorGroup& LineRows::openGroup(quint64 i_lNumber, qint64 i_lUsec) {
    if (m_groups.empty() || m_groups.back().closed) {
        return newGroup(MonitorGroup::Kind::AlreadyOpen, i_lNumber, i_lUsec);
    }
    return m_groups.back();
}

MonitorGroup& LineRows::groupOf(quint64 i_lNumber) {
    // The last group that began at or before the event; an event older than every group kept
    // goes to the first.
    auto it = std::upper_bound(
        m_groups.begin(), m_groups.end(), i_lNumber,
        [](quint64 i_lWanted, const MonitorGroup& i_group) { return i_lWanted < i_group.number; });
    return it == m_groups.begin() ? m_groups.front() : *(it - 1);
}

void LineRows::place(const ProtocolEvents& i_events) {
    for (const ProtocolEvent& event : i_events) {
        MonitorRow row;
        row.event = event;
        auto time = std::lower_bound(m_times.begin(), m_times.end(), event.tag,
                                     [](const std::pair<quint64, qint64>& i_time,
                                        quint64 i_lWanted) { return i_time.first < i_lWanted; });
        row.usec = time == m_times.end() ? m_times.back().second : time->second;
        if (m_groups.empty()) {
            openGroup(event.tag, row.usec);
        }
        append(groupOf(event.tag), std::move(row));
    }
}

void LineRows::append(MonitorGroup& io_group, MonitorRow i_row) {
    const bool added = io_group.serial >= m_changes.firstAdded;
    const bool known = std::any_of(m_changes.grown.begin(), m_changes.grown.end(),
                                   [&io_group](const std::pair<quint64, size_t>& i_grown) {
                                       return i_grown.first == io_group.serial;
                                   });
    if (!added && !known) {
        m_changes.grown.emplace_back(io_group.serial, io_group.rows.size());
    }
    io_group.rows.push_back(std::move(i_row));
    ++m_iRows;
}

void LineRows::trim() {
    while (m_iRows > m_iMaxRows && m_groups.size() > 1) {
        const MonitorGroup& oldest = m_groups.front();
        m_iRows -= oldest.rows.size();
        m_lDropped += oldest.rows.size();
        const quint64 serial = oldest.serial;
        if (serial >= m_changes.firstAdded) {
            m_changes.firstAdded = serial + 1; // came and went before anyone looked
        } else {
            ++m_changes.groupsDropped;
        }
        m_changes.grown.erase(std::remove_if(m_changes.grown.begin(), m_changes.grown.end(),
                                             [serial](const std::pair<quint64, size_t>& i_grown) {
                                                 return i_grown.first == serial;
                                             }),
                              m_changes.grown.end());
        m_groups.pop_front();
    }
    if (m_iRows > m_iMaxRows && !m_groups.empty()) {
        cutFront();
    }
    trimTimes();
}

void LineRows::cutFront() {
    MonitorGroup& group = m_groups.front();
    const size_t cut = std::min(
        group.rows.size(), std::max(m_iRows - m_iMaxRows, std::max<size_t>(1, m_iMaxRows / 10)));
    group.rows.erase(group.rows.begin(), group.rows.begin() + static_cast<std::ptrdiff_t>(cut));
    m_iRows -= cut;
    m_lDropped += cut;
    if (group.serial < m_changes.firstAdded) {
        m_changes.rowsCut = true;
    }
}

void LineRows::trimTimes() {
    // The decoder names an event by its first byte's tap number: the times from the front
    // group's first row on are needed (from the group's own start while it has no row), and
    // at most a bound's worth beyond the rows kept, for an event that is long under way.
    quint64 oldest = m_groups.empty() ? 0 : m_groups.front().number;
    if (!m_groups.empty() && !m_groups.front().rows.empty()) {
        oldest = std::max(oldest, m_groups.front().rows.front().event.tag);
    }
    while (!m_groups.empty() && m_times.size() > 1 && m_times[1].first <= oldest) {
        m_times.pop_front();
    }
    while (m_times.size() > 2 * m_iMaxRows + 2) {
        m_times.pop_front();
    }
}

const MonitorGroup* LineRows::Group(quint64 i_lSerial) const {
    if (m_groups.empty() || i_lSerial < m_groups.front().serial) {
        return nullptr;
    }
    const quint64 offset = i_lSerial - m_groups.front().serial;
    return offset < m_groups.size() ? &m_groups[offset] : nullptr;
}

std::vector<MonitorRow> LineRows::Pending() const {
    std::vector<MonitorRow> rows;
    for (const ProtocolEvent& event : m_decoder.Peek()) {
        MonitorRow row;
        row.event = event;
        row.usec = m_times.empty() ? 0 : m_times.back().second;
        rows.push_back(std::move(row));
    }
    return rows;
}

LineRows::Changes LineRows::TakeChanges() {
    Changes fresh;
    fresh.firstAdded = m_lNextSerial;
    return std::exchange(m_changes, fresh);
}

void LineRows::Clear() {
    m_groups.clear();
    m_times.clear();
    m_decoder = ProtocolDecoder();
    m_iRows = 0;
    m_lDropped = 0;
    m_changes = Changes();
    m_changes.firstAdded = m_lNextSerial;
}
