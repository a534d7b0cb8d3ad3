#pragma once

class CLumo;
class QWidget;

// The main window's "Firmware Update" button: the baud-rate reminder, the service password,
// then the firmware dialog on the given session.
void RunFirmwareUpdate(CLumo& i_lumo, QWidget* i_pParent);
