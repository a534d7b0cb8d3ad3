#pragma once

class frmMain;

// The main window's start-up: fill the fixed lists, restore every remembered selection in a
// fixed order, apply the display type, title the window. A step that fails is reported in a
// message box and start-up goes on with the next one.
class StartupSequence {
public:
    static void Run(frmMain& io_window);

private:
    static void RestoreSelection(class QComboBox* i_pCombo, const char* i_pSection,
                                 const char* i_pKey);
};
