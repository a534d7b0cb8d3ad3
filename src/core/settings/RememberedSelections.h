#pragma once

#include <QString>
#include <array>

// A list whose selected index the program keeps between runs, and where the settings store
// keeps it (application name "LumoQ4 Utility"). The value is the zero-based index as decimal
// text.
struct RememberedSelection {
    const char* list;    // the list's object name
    const char* section; // "Settings" (the computer's own port) or "Set" (the display)
    const char* key;
    const char* mirror; // a second list that shows and writes the same value, or nullptr
};

// The ten remembered selections, the one place where their lists, sections and keys are
// spelled. Each list's selection handler writes its value with Save() the moment it changes;
// start-up reads them back in this order.
namespace RememberedSelections {

const std::array<RememberedSelection, 10>& All();

// The selection that list i_sList (or its mirror) shows; nullptr when that list is not
// remembered.
const RememberedSelection* Of(const QString& i_sList);

// Writes i_iIndex under the key of list i_sList.
void Save(const QString& i_sList, int i_iIndex);

// The stored text of a selection, "0" when there is none.
QString Stored(const RememberedSelection& i_selection);

} // namespace RememberedSelections
