#include "ctl/CtlOptions.h"

namespace {

bool takesValue(const QString& i_sOption) {
    static const QStringList options = {QStringLiteral("--port"), QStringLiteral("--baud"),
                                        QStringLiteral("--parity"), QStringLiteral("--type"),
                                        QStringLiteral("--password-file")};
    return options.contains(i_sOption);
}

bool setFlag(const QString& i_sOption, CtlOptions& io_options) {
    if (i_sOption == QLatin1String("--json")) {
        io_options.json = true;
    } else if (i_sOption == QLatin1String("--trace")) {
        io_options.trace = true;
    } else if (i_sOption == QLatin1String("--quiet") || i_sOption == QLatin1String("-q")) {
        io_options.quiet = true;
    } else if (i_sOption == QLatin1String("--help") || i_sOption == QLatin1String("-h")) {
        io_options.help = true;
    } else if (i_sOption == QLatin1String("--version")) {
        io_options.version = true;
    } else if (i_sOption == QLatin1String("--checksum")) {
        io_options.checkSumType = 0;
    } else if (i_sOption == QLatin1String("--crc")) {
        io_options.checkSumType = 1;
    } else if (i_sOption == QLatin1String("--all-devices")) {
        io_options.allDevices = true;
    } else {
        return false;
    }
    return true;
}

void setValue(const QString& i_sOption, const QString& i_sValue, CtlOptions& io_options) {
    if (i_sOption == QLatin1String("--port")) {
        io_options.port = i_sValue;
    } else if (i_sOption == QLatin1String("--baud")) {
        io_options.baud = i_sValue;
    } else if (i_sOption == QLatin1String("--parity")) {
        io_options.parity = i_sValue;
    } else if (i_sOption == QLatin1String("--type")) {
        io_options.codeType = i_sValue;
    } else {
        io_options.passwordFile = i_sValue;
    }
}

} // namespace

bool CtlOptions::Parse(const QStringList& i_args, CtlOptions& o_options, QString& o_sError) {
    // --json is honoured even when a usage error comes before it; after "--" it is a word.
    const qsizetype end = i_args.indexOf(QStringLiteral("--"));
    o_options.json =
        i_args.mid(0, end < 0 ? i_args.size() : end).contains(QStringLiteral("--json"));
    QStringList words;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < i_args.size(); ++i) {
        const QString& arg = i_args[i];
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            words << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals > 0 ? arg.left(equals) : arg;
        if (takesValue(name)) {
            if (equals > 0) {
                setValue(name, arg.mid(equals + 1), o_options);
            } else if (i + 1 < i_args.size()) {
                setValue(name, i_args[++i], o_options);
            } else {
                o_sError = QStringLiteral("option %1 needs a value").arg(name);
                return false;
            }
        } else if (equals > 0 || !setFlag(arg, o_options)) {
            o_sError = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
    }
    if (o_options.help || o_options.version) {
        return true;
    }
    if (words.isEmpty()) {
        o_sError = QStringLiteral("no command given");
        return false;
    }
    o_options.command = words.takeFirst();
    o_options.args = words;
    if (!Commands().contains(o_options.command)) {
        o_sError = QStringLiteral("unknown command \"%1\"").arg(o_options.command);
        return false;
    }
    const bool firmware = o_options.command == QLatin1String("firmware");
    if (!firmware && (o_options.checkSumType || !o_options.codeType.isEmpty() ||
                      !o_options.passwordFile.isEmpty())) {
        o_sError =
            QStringLiteral("--checksum, --crc, --type and --password-file belong to firmware");
        return false;
    }
    if (o_options.allDevices && o_options.command != QLatin1String("find")) {
        o_sError = QStringLiteral("--all-devices belongs to find");
        return false;
    }
    return true;
}

const QStringList& CtlOptions::Commands() {
    static const QStringList commands = {
        QStringLiteral("ports"),         QStringLiteral("find"),
        QStringLiteral("version"),       QStringLiteral("get"),
        QStringLiteral("send"),          QStringLiteral("set-baud"),
        QStringLiteral("international"), QStringLiteral("save-layer"),
        QStringLiteral("cursor"),        QStringLiteral("clear"),
        QStringLiteral("demo"),          QStringLiteral("after-reboot"),
        QStringLiteral("printer"),       QStringLiteral("light"),
        QStringLiteral("raw"),           QStringLiteral("firmware")};
    return commands;
}

QString CtlOptions::UsageLine() {
    return QStringLiteral("lumoq4ctl [OPTIONS] COMMAND [ARGS]");
}

QString CtlOptions::HelpText() {
    return QStringLiteral(
        "Usage: lumoq4ctl [OPTIONS] COMMAND [ARGS]\n"
        "Every operation of the LumoQ4 customer display from a shell.\n"
        "\n"
        "Options:\n"
        "  --port COMn|PATH   the port (default: LUMOQ4_PORT, else the window's selected port)\n"
        "  --baud RATE        38400, 19200, 9600, 4800, 2400, 1200 or 600\n"
        "  --parity P         none, odd or even (default: the window's selections)\n"
        "  --json             one JSON object on standard output\n"
        "  --trace            the line traffic, decoded, on standard error\n"
        "  --quiet            nothing on standard output for success\n"
        "  --help, --version\n"
        "\n"
        "Commands:\n"
        "  ports                       serial devices, and where COM1..COM16 lead\n"
        "  find [--all-devices]        look for the display at every setting on the port's\n"
        "                              device (--all-devices: on every serial device)\n"
        "  version                     the firmware version\n"
        "  get                         the displayed message\n"
        "  send TEXT                   show a message (up to 40 characters)\n"
        "  set-baud RATE PARITY        the display's baud rate and parity\n"
        "  international CODE          character set: 0..14 or a name (\"Denmark I\")\n"
        "  save-layer LAYER            save the message shown into layer 1..3\n"
        "  cursor POSITION             cursor to cell 1..40\n"
        "  clear FROM TO               clear cells FROM..TO (1..40)\n"
        "  demo LAYER MODE             show the saved demo message (list index or text)\n"
        "  after-reboot stay|running   what the display shows after a reboot\n"
        "  printer on|off              the printer pass-through\n"
        "  light                       light every dot of every cell\n"
        "  raw HEX...                  bytes as they are, e.g. raw 1b 40\n"
        "  firmware FILE [--checksum|--crc] [--type px|zx] [--password-file FILE]\n"
        "                              update the firmware (blocks as the display asks unless\n"
        "                              --checksum or --crc; service password: the file,\n"
        "                              LUMOQ4_SERVICE_PASSWORD, or asked on the terminal)\n"
        "\n"
        "Exit status: 0 success; a device status's magnitude (4 no response, 6 refused, 2 open\n"
        "failed, 3 not connected); 64 usage; 66 unreadable file; 77 wrong service password;\n"
        "130, 143, 129 interrupted by SIGINT, SIGTERM, SIGHUP.\n");
}
