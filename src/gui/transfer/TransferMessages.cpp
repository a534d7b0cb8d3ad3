#include "gui/transfer/TransferMessages.h"

#include "core/common/AppInfo.h"

namespace TransferMessages {

void Show(QWidget* i_pParent, QMessageBox::Icon i_eIcon, const QString& i_sTitle,
          const QString& i_sText) {
    QMessageBox box(i_eIcon, i_sTitle.isEmpty() ? AppInfo::Name() : i_sTitle, i_sText,
                    QMessageBox::Ok, i_pParent);
    box.exec();
}

} // namespace TransferMessages
