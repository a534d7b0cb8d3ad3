#include "gui/widgets/MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(Prompt::Icon icon) {
    switch (icon) {
    case Prompt::Icon::Information:
        return QMessageBox::Information;
    case Prompt::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompt::Icon::Error:
        return QMessageBox::Critical;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void MessageBoxPrompt::Show(Icon i_eIcon, const QString& i_sTitle, const QString& i_sText) {
    QMessageBox box(toIcon(i_eIcon), i_sTitle, i_sText, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // texts may quote the display: never read as markup
    box.exec();
}

bool MessageBoxPrompt::AskRetry(const QString& i_sTitle, const QString& i_sText) {
    QMessageBox box(QMessageBox::Warning, i_sTitle, i_sText,
                    QMessageBox::Retry | QMessageBox::Cancel, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}
