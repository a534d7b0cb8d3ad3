#pragma once

#include <QString>

class QFileDialog;

// Free routines of the firmware dialog.
namespace modGeneral {

// Shows i_dlg as an open-file dialog with the given title, initial folder (a file path opens
// its folder) and filter in "description|pattern|description|pattern" form. True with the
// chosen path in o_sFileName; false when the user cancelled. Failures of the steps are ignored.
bool ShowOpenFileDialog(QFileDialog& i_dlg, const QString& i_sTitle, const QString& i_sInitDir,
                        const QString& i_sFilter, QString& o_sFileName);

// "*.*|*.*" as a Qt name filter: "*.* (*)". "*.*" means every file, with or without a dot.
QString NameFilters(const QString& i_sFilter);

} // namespace modGeneral
