#include "gui/transfer/FirmwareUpdateEntry.h"

#include "core/device/CLumo.h"
#include "gui/transfer/TransferMessages.h"
#include "gui/transfer/frmFirmwareUpdate.h"
#include "gui/transfer/frmPassword.h"

#include <QPointer>

namespace {

// The dialog of the last update. It is kept while its transfer runs, so that a dialog closed
// with its close box can be brought back, and replaced by the next update.
QPointer<frmFirmwareUpdate> g_pDialog;

} // namespace

bool FirmwareDialogShown() {
    return !g_pDialog.isNull() && g_pDialog->isVisible();
}

bool RunFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent) {
    if (i_lumo.TransferRunning()) {
        // Shown without waiting here: this press may have come in the middle of one of the
        // transfer's own waits, which must go on.
        if (g_pDialog.isNull()) {
            return false;
        }
        g_pDialog->BringBack();
        return true;
    }
    delete g_pDialog.data();
    TransferMessages::Show(
        i_pParent, QMessageBox::Warning, QString(),
        QStringLiteral(
            "Before updating the firmware, please make sure the device baudrate is set to 19200."));
    frmPassword password(i_pParent);
    password.exec();
    if (!password.IsOK()) {
        return true;
    }
    g_pDialog = new frmFirmwareUpdate(i_lumo, i_pParent);
    // The transfer runs inside this modal loop. A dialog closed while it runs and brought back
    // is still open when the loop returns, and goes on modally here.
    do {
        g_pDialog->exec();
    } while (!g_pDialog.isNull() && g_pDialog->isVisible());
    if (!i_lumo.TransferRunning()) {
        delete g_pDialog.data();
    }
    return true;
}
