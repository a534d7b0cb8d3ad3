#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line of lumoq4ctl: options (anywhere before "--"), the command and its
// arguments.
struct CtlOptions {
    QString port;   // --port COMn|PATH
    QString baud;   // --baud RATE
    QString parity; // --parity none|odd|even
    bool json = false;
    bool trace = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    // find: --all-devices (every serial device, not only the selected port's)
    bool allDevices = false;
    // firmware: --checksum / --crc, --type, --password-file
    std::optional<int> checkSumType;
    QString codeType;
    QString passwordFile;

    QString command;
    QStringList args;

    // Reads the arguments (without the program name). False on a usage error, with what was
    // wrong in o_sError; o_options keeps what was read up to there (--json among it).
    static bool Parse(const QStringList& i_args, CtlOptions& o_options, QString& o_sError);

    static const QStringList& Commands();
    static QString UsageLine();
    static QString HelpText();
};
