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

    // True when COMn leads to the system's console only because nothing maps it (no variable,
    // no setting): a command then refuses rather than write into the machine's console. A
    // console named on purpose (--port, LUMOQ4_COMn, "Ports"/"COMn") is used as named.
    bool DefaultsToConsole() const;

    // True when the command runs on the port selected in the main window (not another COMn,
    // not a path): only then does the window's stored baud rate follow a set-baud.
    bool IsWindowsPort() const;

    // Points the session at the port and settings.
    void Apply(CLumo& io_lumo) const;

    // The window's stored row of a remembered list, 0 when there is none or it is not a row.
    static int StoredRow(const char* i_sList, int i_iRows);
};
