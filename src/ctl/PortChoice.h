#pragma once

#include <QString>

class CLumo;
struct CtlOptions;

// The port and line settings a command runs with: --port, else LUMOQ4_PORT, else the port
// selected in the main window ("Settings"/"Comport"); --baud and --parity, else the window's
// stored selections. A COMn leads where it leads for the window; a device path is put in
// place of the selected COMn for this process only (its LUMOQ4_COMn), never in the settings.
struct PortChoice {
    int port = 1; // COMn
    QString path; // the device path the command opens
    bool byPath = false;
    QString baudRate; // "19200"
    QString parity;   // "NONE"

    // False with the reason in o_sError when an option is not one the window's lists hold.
    static bool Resolve(const CtlOptions& i_options, PortChoice& o_choice, QString& o_sError);

    // Points the session at the port and settings.
    void Apply(CLumo& io_lumo) const;

    // The window's stored row of a remembered list, 0 when there is none or it is not a row.
    static int StoredRow(const char* i_sList, int i_iRows);
};
