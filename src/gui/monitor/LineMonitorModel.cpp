#include "gui/monitor/LineMonitorModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <algorithm>
#include <set>

namespace {
// A group's line has the id 0; a row below it the group's serial plus 1.
constexpr quintptr kGroupId = 0;
} // namespace

LineMonitorModel::LineMonitorModel(QObject* i_pParent, size_t i_iMaxRows)
    : QAbstractItemModel(i_pParent), m_rows(i_iMaxRows) {}

// --- Feeding ------------------------------------------------------------------------------

void LineMonitorModel::Take(quint64 i_lNumber, const TapEvent& i_event) {
    if (!m_blnOriginSet) {
        m_clock.originUsec = i_event.usec;
        m_blnOriginSet = true;
    }
    m_rows.Take(i_lNumber, i_event);
}

void LineMonitorModel::Publish() {
    hidePending();
    const LineRows::Changes changes = m_rows.TakeChanges();
    if (changes.rowsCut) {
        // One long open lost its oldest rows: the row numbers the views hold are gone with them.
        beginResetModel();
        rebuild();
        endResetModel();
        return;
    }
    dropFront(changes.groupsDropped);
    for (const auto& [serial, from] : changes.grown) {
        grow(serial, from);
    }
    addGroups(changes.firstAdded);
    showPending();
}

void LineMonitorModel::Clear() {
    beginResetModel();
    m_rows.Clear();
    m_shown.clear();
    m_listed.clear();
    m_pending.clear();
    m_lShownFront = 0;
    m_blnOriginSet = false;
    endResetModel();
}

void LineMonitorModel::SetFilter(const LineFilter& i_filter) {
    beginResetModel();
    m_filter = i_filter;
    rebuild();
    endResetModel();
}

void LineMonitorModel::SetClockTime(bool i_blnClockTime) {
    m_clock.clockTime = i_blnClockTime;
    emit headerDataChanged(Qt::Horizontal, TimeColumn, TimeColumn);
    // The view repaints what it shows; the rows below the groups are read afresh then.
    if (!m_listed.empty()) {
        emit dataChanged(index(0, TimeColumn, {}),
                         index(static_cast<int>(m_listed.size()) - 1, TimeColumn, {}));
    }
}

void LineMonitorModel::SetClockStart(const QDateTime& i_start) {
    m_clock.start = i_start;
}

// --- Keeping the views up to date -----------------------------------------------------------

quint64 LineMonitorModel::frontSerial() const {
    return m_rows.Groups().empty() ? 0 : m_rows.Groups().front().serial;
}

quint64 LineMonitorModel::lastSerial() const {
    return m_rows.Groups().empty() ? 0 : m_rows.Groups().back().serial;
}

std::vector<int> LineMonitorModel::filtered(const MonitorGroup& i_group, size_t i_iFrom) const {
    std::vector<int> shown;
    for (size_t i = i_iFrom; i < i_group.rows.size(); ++i) {
        if (m_filter.Accepts(i_group.rows[i])) {
            shown.push_back(static_cast<int>(i));
        }
    }
    return shown;
}

bool LineMonitorModel::listable(const MonitorGroup& i_group,
                                const std::vector<int>& i_shown) const {
    return !i_shown.empty() || m_filter.AcceptsHeader(i_group);
}

void LineMonitorModel::rebuild() {
    m_rows.TakeChanges(); // everything is shown afresh from the rows as they are
    m_shown.clear();
    m_listed.clear();
    m_lShownFront = frontSerial();
    for (const MonitorGroup& group : m_rows.Groups()) {
        m_shown.push_back(filtered(group, 0));
        if (listable(group, m_shown.back())) {
            m_listed.push_back(group.serial);
        }
    }
    m_pending.clear();
    if (!m_listed.empty() && m_listed.back() == lastSerial()) {
        m_lPendingSerial = m_listed.back();
        for (const MonitorRow& row : m_rows.Pending()) {
            if (m_filter.Accepts(row)) {
                m_pending.push_back(row);
            }
        }
    }
}

void LineMonitorModel::dropFront(int i_iGroups) {
    if (i_iGroups <= 0) {
        return;
    }
    const quint64 front = frontSerial();
    int listedGone = 0;
    while (listedGone < static_cast<int>(m_listed.size()) && m_listed[listedGone] < front) {
        ++listedGone;
    }
    if (listedGone > 0) {
        beginRemoveRows({}, 0, listedGone - 1);
        m_listed.erase(m_listed.begin(), m_listed.begin() + listedGone);
        endRemoveRows();
    }
    m_shown.erase(m_shown.begin(), m_shown.begin() + i_iGroups);
    m_lShownFront += static_cast<quint64>(i_iGroups);
}

void LineMonitorModel::grow(quint64 i_lSerial, size_t i_iFrom) {
    const MonitorGroup* group = m_rows.Group(i_lSerial);
    if (group == nullptr) {
        return;
    }
    std::vector<int>& shown = m_shown[i_lSerial - m_lShownFront];
    const std::vector<int> more = filtered(*group, i_iFrom);
    if (more.empty()) {
        return;
    }
    const int position = listedPosition(i_lSerial);
    if (position >= 0) {
        const auto first = static_cast<int>(shown.size());
        beginInsertRows(index(position, 0, {}), first, first + static_cast<int>(more.size()) - 1);
        shown.insert(shown.end(), more.begin(), more.end());
        endInsertRows();
        return;
    }
    shown.insert(shown.end(), more.begin(), more.end());
    // A group that the search had hidden now has a matching row.
    const auto at = std::lower_bound(m_listed.begin(), m_listed.end(), i_lSerial);
    const auto row = static_cast<int>(at - m_listed.begin());
    beginInsertRows({}, row, row);
    m_listed.insert(at, i_lSerial);
    endInsertRows();
}

void LineMonitorModel::addGroups(quint64 i_lFirstSerial) {
    if (m_shown.empty()) {
        m_lShownFront = std::max(i_lFirstSerial, frontSerial());
    }
    std::vector<quint64> listed;
    for (const MonitorGroup& group : m_rows.Groups()) {
        if (group.serial < i_lFirstSerial) {
            continue;
        }
        m_shown.push_back(filtered(group, 0));
        if (listable(group, m_shown.back())) {
            listed.push_back(group.serial);
        }
    }
    if (listed.empty()) {
        return;
    }
    const auto first = static_cast<int>(m_listed.size());
    beginInsertRows({}, first, first + static_cast<int>(listed.size()) - 1);
    m_listed.insert(m_listed.end(), listed.begin(), listed.end());
    endInsertRows();
}

void LineMonitorModel::hidePending() {
    if (m_pending.empty()) {
        return;
    }
    const auto first = static_cast<int>(shownOf(m_lPendingSerial).size());
    beginRemoveRows(index(listedPosition(m_lPendingSerial), 0, {}), first,
                    first + static_cast<int>(m_pending.size()) - 1);
    m_pending.clear();
    endRemoveRows();
}

void LineMonitorModel::showPending() {
    if (m_listed.empty() || m_listed.back() != lastSerial()) {
        return;
    }
    m_lPendingSerial = m_listed.back();
    std::vector<MonitorRow> pending;
    for (const MonitorRow& row : m_rows.Pending()) {
        if (m_filter.Accepts(row)) {
            pending.push_back(row);
        }
    }
    if (pending.empty()) {
        return;
    }
    const auto first = static_cast<int>(shownOf(m_listed.back()).size());
    beginInsertRows(index(static_cast<int>(m_listed.size()) - 1, 0, {}), first,
                    first + static_cast<int>(pending.size()) - 1);
    m_pending = std::move(pending);
    endInsertRows();
}

// --- Looking up -------------------------------------------------------------------------------

const MonitorGroup* LineMonitorModel::groupAt(int i_iListed) const {
    return m_rows.Group(m_listed[static_cast<size_t>(i_iListed)]);
}

const std::vector<int>& LineMonitorModel::shownOf(quint64 i_lSerial) const {
    return m_shown[i_lSerial - m_lShownFront];
}

int LineMonitorModel::childCount(quint64 i_lSerial) const {
    const auto own = static_cast<int>(shownOf(i_lSerial).size());
    return i_lSerial == m_lPendingSerial ? own + static_cast<int>(m_pending.size()) : own;
}

const MonitorRow& LineMonitorModel::childRow(quint64 i_lSerial, int i_iChild) const {
    const std::vector<int>& shown = shownOf(i_lSerial);
    if (i_iChild < static_cast<int>(shown.size())) {
        return m_rows.Group(i_lSerial)->rows[static_cast<size_t>(shown[i_iChild])];
    }
    return m_pending[static_cast<size_t>(i_iChild) - shown.size()];
}

int LineMonitorModel::listedPosition(quint64 i_lSerial) const {
    const auto at = std::lower_bound(m_listed.begin(), m_listed.end(), i_lSerial);
    return at != m_listed.end() && *at == i_lSerial ? static_cast<int>(at - m_listed.begin()) : -1;
}

QModelIndex LineMonitorModel::index(int i_iRow, int i_iColumn, const QModelIndex& i_parent) const {
    if (i_iRow < 0 || i_iColumn < 0 || i_iColumn >= ColumnCount) {
        return {};
    }
    if (!i_parent.isValid()) {
        return i_iRow < static_cast<int>(m_listed.size()) ? createIndex(i_iRow, i_iColumn, kGroupId)
                                                          : QModelIndex();
    }
    if (i_parent.internalId() != kGroupId || i_parent.row() >= static_cast<int>(m_listed.size())) {
        return {};
    }
    const quint64 serial = m_listed[static_cast<size_t>(i_parent.row())];
    if (i_iRow >= childCount(serial)) {
        return {};
    }
    return createIndex(i_iRow, i_iColumn, static_cast<quintptr>(serial + 1));
}

QModelIndex LineMonitorModel::parent(const QModelIndex& i_child) const {
    if (!i_child.isValid() || i_child.internalId() == kGroupId) {
        return {};
    }
    const int position = listedPosition(i_child.internalId() - 1);
    return position < 0 ? QModelIndex() : createIndex(position, 0, kGroupId);
}

int LineMonitorModel::rowCount(const QModelIndex& i_parent) const {
    if (!i_parent.isValid()) {
        return static_cast<int>(m_listed.size());
    }
    if (i_parent.internalId() != kGroupId || i_parent.column() != 0) {
        return 0;
    }
    return childCount(m_listed[static_cast<size_t>(i_parent.row())]);
}

int LineMonitorModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant LineMonitorModel::headerData(int i_iSection, Qt::Orientation i_orientation,
                                      int i_iRole) const {
    if (i_orientation != Qt::Horizontal || i_iRole != Qt::DisplayRole) {
        return {};
    }
    switch (i_iSection) {
    case TimeColumn:
        return m_clock.clockTime ? tr("Clock time") : tr("Time (s)");
    case DirectionColumn:
        return tr("Dir");
    case BytesColumn:
        return tr("Bytes");
    case MeaningColumn:
        return tr("Meaning");
    default:
        return {};
    }
}

QVariant LineMonitorModel::data(const QModelIndex& i_index, int i_iRole) const {
    if (!i_index.isValid()) {
        return {};
    }
    const bool groupLine = i_index.internalId() == kGroupId;
    const MonitorGroup* group =
        groupLine ? groupAt(i_index.row()) : m_rows.Group(i_index.internalId() - 1);
    if (group == nullptr) {
        return {};
    }
    const MonitorRow* row = groupLine ? nullptr : &childRow(group->serial, i_index.row());
    const bool standsOut = row ? MonitorText::StandsOut(*row) : MonitorText::StandsOut(*group);
    switch (i_iRole) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (i_index.column()) {
        case TimeColumn:
            return MonitorText::Time(row ? row->usec : group->usec, m_clock);
        case DirectionColumn:
            return row ? MonitorText::Direction(*row) : QString();
        case BytesColumn:
            return row ? MonitorText::Bytes(*row) : QString();
        default:
            return row ? MonitorText::Meaning(*row) : MonitorText::GroupMeaning(*group);
        }
    case Qt::BackgroundRole:
        return standsOut ? QBrush(QColor(255, 214, 214)) : QVariant();
    case Qt::ForegroundRole:
        if (standsOut) {
            return QBrush(QColor(150, 0, 0));
        }
        // Rows still under way are grey until they end.
        if (row && i_index.row() >= static_cast<int>(shownOf(group->serial).size())) {
            return QBrush(QColor(120, 120, 120));
        }
        return {};
    case Qt::FontRole:
        if (i_index.column() == BytesColumn || i_index.column() == TimeColumn) {
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        }
        if (groupLine) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

// --- Log lines ---------------------------------------------------------------------------------

QString LineMonitorModel::rowLine(const MonitorRow& i_row) const {
    return MonitorText::LogLine(MonitorText::Time(i_row.usec, m_clock),
                                MonitorText::Direction(i_row), MonitorText::Bytes(i_row),
                                MonitorText::Meaning(i_row));
}

QString LineMonitorModel::groupLine(const MonitorGroup& i_group) const {
    return MonitorText::LogLine(MonitorText::Time(i_group.usec, m_clock), QString(), QString(),
                                MonitorText::GroupMeaning(i_group));
}

QStringList LineMonitorModel::AllLogLines() const {
    QStringList lines;
    for (size_t i = 0; i < m_listed.size(); ++i) {
        const quint64 serial = m_listed[i];
        lines << groupLine(*m_rows.Group(serial));
        for (int child = 0; child < childCount(serial); ++child) {
            lines << rowLine(childRow(serial, child));
        }
    }
    return lines;
}

QStringList LineMonitorModel::LogLines(const QModelIndexList& i_indexes) const {
    // (group position, row + 1; 0 for the group's own line), in table order.
    std::set<std::pair<int, int>> picked;
    for (const QModelIndex& index : i_indexes) {
        if (index.internalId() == kGroupId) {
            picked.emplace(index.row(), 0);
            const int children = childCount(m_listed[static_cast<size_t>(index.row())]);
            for (int child = 0; child < children; ++child) {
                picked.emplace(index.row(), child + 1);
            }
        } else if (index.parent().isValid()) {
            picked.emplace(index.parent().row(), index.row() + 1);
        }
    }
    QStringList lines;
    for (const auto& [position, child] : picked) {
        const quint64 serial = m_listed[static_cast<size_t>(position)];
        lines << (child == 0 ? groupLine(*m_rows.Group(serial))
                             : rowLine(childRow(serial, child - 1)));
    }
    return lines;
}

QModelIndex LineMonitorModel::LastIndex() const {
    if (m_listed.empty()) {
        return {};
    }
    const int last = static_cast<int>(m_listed.size()) - 1;
    const int children = childCount(m_listed.back());
    const QModelIndex group = index(last, 0, {});
    return children > 0 ? index(children - 1, 0, group) : group;
}
