#pragma once

#include "gui/monitor/LineFilter.h"
#include "gui/monitor/LineRows.h"
#include "gui/monitor/MonitorText.h"

#include <QAbstractItemModel>
#include <deque>
#include <vector>

// The line monitor's table as a tree: one top-level row per group (an open, a failed open),
// the group's rows below it, then the rows still under way at the end of the last group.
// Events come in through Take() and reach the views in one go at Publish(), so that a burst
// of traffic costs one update.
class LineMonitorModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { TimeColumn, DirectionColumn, BytesColumn, MeaningColumn, ColumnCount };

    // At most i_iMaxRows rows are kept (see LineRows).
    explicit LineMonitorModel(QObject* i_pParent = nullptr, size_t i_iMaxRows = LineTap::kCapacity);

    void Take(quint64 i_lNumber, const TapEvent& i_event);
    void Publish();
    void Clear();

    void SetFilter(const LineFilter& i_filter);
    void SetClockTime(bool i_blnClockTime);
    void SetClockStart(const QDateTime& i_start);

    const LineRows& Rows() const { return m_rows; }
    // The rows of these indexes (and of every row of a group whose line is among them), as
    // log lines in table order.
    QStringList LogLines(const QModelIndexList& i_indexes) const;
    // Every row shown, as log lines.
    QStringList AllLogLines() const;
    // The last row shown, for following the newest.
    QModelIndex LastIndex() const;

    QModelIndex index(int i_iRow, int i_iColumn, const QModelIndex& i_parent) const override;
    QModelIndex parent(const QModelIndex& i_child) const override;
    int rowCount(const QModelIndex& i_parent) const override;
    int columnCount(const QModelIndex& i_parent) const override;
    QVariant data(const QModelIndex& i_index, int i_iRole) const override;
    QVariant headerData(int i_iSection, Qt::Orientation i_orientation, int i_iRole) const override;

private:
    quint64 frontSerial() const;
    quint64 lastSerial() const;
    const MonitorGroup* groupAt(int i_iListed) const;
    const std::vector<int>& shownOf(quint64 i_lSerial) const;
    int childCount(quint64 i_lSerial) const;
    // The row i_iChild below the group, a pending one past the group's own.
    const MonitorRow& childRow(quint64 i_lSerial, int i_iChild) const;
    int listedPosition(quint64 i_lSerial) const;
    bool listable(const MonitorGroup& i_group, const std::vector<int>& i_shown) const;
    std::vector<int> filtered(const MonitorGroup& i_group, size_t i_iFrom) const;
    QString rowLine(const MonitorRow& i_row) const;
    QString groupLine(const MonitorGroup& i_group) const;
    void rebuild();
    void dropFront(int i_iGroups);
    void grow(quint64 i_lSerial, size_t i_iFrom);
    void addGroups(quint64 i_lFirstSerial);
    void showPending();
    void hidePending();

    LineRows m_rows;
    LineFilter m_filter;
    MonitorText::Clock m_clock;
    bool m_blnOriginSet = false;
    // For each group the views know, from serial m_lShownFront on: the rows the filter lets
    // through. (m_rows may already hold more groups, or fewer, until Publish().)
    std::deque<std::vector<int>> m_shown;
    quint64 m_lShownFront = 0;
    // Serials of the groups shown as top-level rows, ascending.
    std::deque<quint64> m_listed;
    // Rows under way, shown at the end of the group m_lPendingSerial.
    std::vector<MonitorRow> m_pending;
    quint64 m_lPendingSerial = 0;
};
