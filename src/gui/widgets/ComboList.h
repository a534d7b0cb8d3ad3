#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

// List handling with the program's rules: filling or clearing a list leaves it without a
// selection and runs no selection handler; selecting runs the handler only when the index
// changes; selecting an index the list does not have is an error.
namespace ComboList {

// A new list (pick-only or editable) with the given object name and entries, no selection.
QComboBox* Create(const QString& i_sName, const QStringList& i_entries, bool i_blnEditable,
                  QWidget* i_pParent);

// Replaces the entries; no selection afterwards, no handler run.
void Fill(QComboBox* i_pCombo, const QStringList& i_entries);

// Selects i_iIndex (-1 for none). Throws LumoError when the list has no such entry.
void Select(QComboBox* i_pCombo, int i_iIndex);

// Selects i_iIndex when the list has it; does nothing otherwise.
void SelectIfPresent(QComboBox* i_pCombo, int i_iIndex);

// Runs i_handler with the new index whenever the selected index changes.
void OnSelection(QComboBox* i_pCombo, const std::function<void(int)>& i_handler);

} // namespace ComboList
