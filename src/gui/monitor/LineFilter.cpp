#include "gui/monitor/LineFilter.h"

#include "gui/monitor/MonitorText.h"

bool LineFilter::Accepts(const MonitorRow& i_row) const {
    if (i_row.kind == MonitorRow::Kind::Event) {
        const EventKind kind = i_row.event.kind;
        if (hideText && kind == EventKind::Text) {
            return false;
        }
        if (hideBlocks && kind == EventKind::XModemBlock && !MonitorText::StandsOut(i_row)) {
            return false;
        }
    }
    if (!Searching()) {
        return true;
    }
    return MonitorText::Meaning(i_row).contains(search, Qt::CaseInsensitive) ||
           MonitorText::Bytes(i_row).contains(search, Qt::CaseInsensitive);
}

bool LineFilter::AcceptsHeader(const MonitorGroup& i_group) const {
    return !Searching() || MonitorText::GroupMeaning(i_group).contains(search, Qt::CaseInsensitive);
}
