#pragma once

class CLumo;
class QWidget;

// The main window's "Firmware Update" button: the baud-rate reminder, the service password,
// then the firmware dialog on the given session. While a transfer runs, its dialog (progress,
// Stop) is shown again instead, even after it was closed; false when a transfer runs that has
// no dialog to show.
bool RunFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent);

// True while the dialog of the last update is on the screen (it then tells the end of its
// transfer itself).
bool FirmwareDialogShown();
