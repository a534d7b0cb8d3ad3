#include "transfer/FirmwareUpdateEntry.h"

#include "transfer/TransferMessages.h"
#include "transfer/frmFirmwareUpdate.h"
#include "transfer/frmPassword.h"

void RunFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent) {
    TransferMessages::Show(
        i_pParent, QMessageBox::Warning, QString(),
        QStringLiteral(
            "Before updating the firmware, please make sure the device baudrate is set to 19200."));
    frmPassword password(i_pParent);
    password.exec();
    if (!password.IsOK()) {
        return;
    }
    frmFirmwareUpdate dialog(i_lumo, i_pParent);
    dialog.exec();
}
