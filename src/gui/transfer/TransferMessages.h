#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The message boxes of the firmware and password dialogs: modal QMessageBox instances with an
// OK button, so that whoever drives the dialog can find the active box and close it.
namespace TransferMessages {

// A box titled with the program's name when i_sTitle is empty.
void Show(QWidget* i_pParent, QMessageBox::Icon i_eIcon, const QString& i_sTitle,
          const QString& i_sText);

} // namespace TransferMessages
