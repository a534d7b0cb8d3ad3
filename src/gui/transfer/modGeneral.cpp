#include "gui/transfer/modGeneral.h"

#include <QFileDialog>
#include <QFileInfo>

namespace modGeneral {

QString NameFilters(const QString& i_sFilter) {
    const QStringList parts = i_sFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern.trimmed() == QLatin1String("*.*")) {
            pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

bool ShowOpenFileDialog(QFileDialog& i_dlg, const QString& i_sTitle, const QString& i_sInitDir,
                        const QString& i_sFilter, QString& o_sFileName) {
    i_dlg.setWindowTitle(i_sTitle);
    i_dlg.setFileMode(QFileDialog::ExistingFile);
    i_dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const QFileInfo initial(i_sInitDir);
    i_dlg.setDirectory(initial.isDir() ? initial.absoluteFilePath() : initial.absolutePath());
    const QString filters = NameFilters(i_sFilter);
    if (!filters.isEmpty()) {
        i_dlg.setNameFilter(filters);
    }
    i_dlg.selectFile(QString());
    if (i_dlg.exec() != QDialog::Accepted || i_dlg.selectedFiles().isEmpty()) {
        return false;
    }
    o_sFileName = QDir::toNativeSeparators(i_dlg.selectedFiles().constFirst());
    return true;
}

} // namespace modGeneral
