#pragma once

#include "PtyDisplay.h"

#include <QString>
#include <QStringList>

// The command line of lumoq4-display-sim.
struct SimOptions {
    PtyDisplayOptions display;
    bool headless = false;
    QString linkPath;
    QString saveImagePath;

    // Reads the arguments (program name first). On a mistake, o_sError says what and the
    // result is false; with --help, o_blnHelp is set and o_sError holds the help text.
    static bool Parse(const QStringList& i_args, SimOptions& o_options, QString& o_sError,
                      bool& o_blnHelp);
};
