#pragma once

#include "gui/monitor/MonitorRow.h"

#include <QString>

// What the line monitor leaves out: plain text, XModem blocks whose number and check are
// right, and rows that do not contain the search text (in their bytes or their meaning, in any
// case).
struct LineFilter {
    bool hideText = false;
    bool hideBlocks = false;
    QString search;

    bool Accepts(const MonitorRow& i_row) const;
    // A group is shown while the search is empty, its own line matches, or a row of it does.
    bool AcceptsHeader(const MonitorGroup& i_group) const;
    bool Searching() const { return !search.isEmpty(); }
};
