#include "SimOptions.h"

#include <QCommandLineParser>

namespace {
bool readCount(const QCommandLineParser& i_parser, const QString& i_sName, qint64& o_lValue,
               QString& o_sError) {
    if (!i_parser.isSet(i_sName)) {
        return true;
    }
    bool ok = false;
    const qint64 value = i_parser.value(i_sName).toLongLong(&ok);
    if (!ok || value < 0) {
        o_sError = QStringLiteral("--%1 wants a whole number of 0 or more").arg(i_sName);
        return false;
    }
    o_lValue = value;
    return true;
}

bool readInt(const QCommandLineParser& i_parser, const QString& i_sName, int& o_iValue,
             QString& o_sError) {
    qint64 value = o_iValue;
    if (!readCount(i_parser, i_sName, value, o_sError)) {
        return false;
    }
    o_iValue = static_cast<int>(value);
    return true;
}
} // namespace

bool SimOptions::Parse(const QStringList& i_args, SimOptions& o_options, QString& o_sError,
                       bool& o_blnHelp) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated LumoQ4 customer display on a pseudo-terminal. Prints the line to open (the "
        "pty slave path) as its first line of output."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.addOptions({
        {QStringLiteral("headless"),
         QStringLiteral("No window; print the screen when it changes.")},
        {QStringLiteral("link"), QStringLiteral("Make a symlink to the pty at PATH."),
         QStringLiteral("PATH")},
        {QStringLiteral("silent"), QStringLiteral("Never answer.")},
        {QStringLiteral("nak"), QStringLiteral("Refuse every native frame (NAK).")},
        {QStringLiteral("delay-ms"), QStringLiteral("Answer N ms late."), QStringLiteral("N")},
        {QStringLiteral("read-delay-ms"),
         QStringLiteral("Read what arrives N ms late, as a loaded machine does."),
         QStringLiteral("N")},
        {QStringLiteral("noise"), QStringLiteral("Random bytes after each answer.")},
        {QStringLiteral("noise-seed"), QStringLiteral("Seed of the noise."), QStringLiteral("N")},
        {QStringLiteral("hangup-after"), QStringLiteral("Close the line after N received bytes."),
         QStringLiteral("N")},
        {QStringLiteral("vt100"), QStringLiteral("Run as a 4x20 VT100 terminal.")},
        {QStringLiteral("crc"),
         QStringLiteral("The loader asks with \"C\" (CRC-16), the default.")},
        {QStringLiteral("checksum"), QStringLiteral("The loader asks with NAK (8-bit checksum).")},
        {QStringLiteral("save-image"), QStringLiteral("Write each received image to PATH."),
         QStringLiteral("PATH")},
        {QStringLiteral("nak-blocks"), QStringLiteral("NAK the first N good blocks."),
         QStringLiteral("N")},
        {QStringLiteral("cancel-at-block"), QStringLiteral("Answer CAN to block K."),
         QStringLiteral("K")},
        {QStringLiteral("silent-at-block"), QStringLiteral("Stop answering from block K."),
         QStringLiteral("K")},
        {QStringLiteral("c-before-ack"), QStringLiteral("Answer \"C\" ACK to block K, once."),
         QStringLiteral("K")},
        {QStringLiteral("baud"),
         QStringLiteral("The display's line speed (default 38400); 0 follows the program's."),
         QStringLiteral("N")},
        {QStringLiteral("firmware-version"),
         QStringLiteral("Reply to the version query (default V1.07)."), QStringLiteral("TEXT")},
    });
    if (!parser.parse(i_args)) {
        o_sError = parser.errorText();
        return false;
    }
    if (parser.isSet(help)) {
        o_blnHelp = true;
        o_sError = parser.helpText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        o_sError =
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return false;
    }
    if (parser.isSet(QStringLiteral("crc")) && parser.isSet(QStringLiteral("checksum"))) {
        o_sError = QStringLiteral("--crc and --checksum exclude each other");
        return false;
    }
    PtyDisplayOptions& d = o_options.display;
    XModemReceiver::Faults& f = d.emulator.transferFaults;
    qint64 seed = d.noiseSeed;
    if (!readInt(parser, QStringLiteral("delay-ms"), d.delayMs, o_sError) ||
        !readInt(parser, QStringLiteral("read-delay-ms"), d.readDelayMs, o_sError) ||
        !readCount(parser, QStringLiteral("hangup-after"), d.hangupAfter, o_sError) ||
        !readCount(parser, QStringLiteral("noise-seed"), seed, o_sError) ||
        !readInt(parser, QStringLiteral("nak-blocks"), f.nakFirstBlocks, o_sError) ||
        !readInt(parser, QStringLiteral("cancel-at-block"), f.cancelAtBlock, o_sError) ||
        !readInt(parser, QStringLiteral("silent-at-block"), f.silentAtBlock, o_sError) ||
        !readInt(parser, QStringLiteral("c-before-ack"), f.cBeforeAckAtBlock, o_sError)) {
        return false;
    }
    d.noiseSeed = static_cast<quint32>(seed);
    d.lineSpeed = 38400;
    if (!readInt(parser, QStringLiteral("baud"), d.lineSpeed, o_sError)) {
        return false;
    }
    static const QList<int> rates{0, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    if (!rates.contains(d.lineSpeed)) {
        o_sError = QStringLiteral("--baud wants one of 300, 600, 1200, 2400, 4800, 9600, 19200, "
                                  "38400, 57600, 115200 (or 0)");
        return false;
    }
    d.silent = parser.isSet(QStringLiteral("silent"));
    d.noise = parser.isSet(QStringLiteral("noise"));
    d.emulator.refuseAllFrames = parser.isSet(QStringLiteral("nak"));
    d.emulator.vt100 = parser.isSet(QStringLiteral("vt100"));
    d.emulator.crc = !parser.isSet(QStringLiteral("checksum"));
    if (parser.isSet(QStringLiteral("firmware-version"))) {
        d.emulator.version = parser.value(QStringLiteral("firmware-version")).toLatin1();
        if (d.emulator.version.size() < 4) {
            o_sError = QStringLiteral("--firmware-version wants at least 4 characters");
            return false;
        }
    }
    o_options.headless = parser.isSet(QStringLiteral("headless"));
    o_options.linkPath = parser.value(QStringLiteral("link"));
    o_options.saveImagePath = parser.value(QStringLiteral("save-image"));
    return true;
}
