#include "CtlFixture.h"
#include "support/QtPrinters.h"

#include <algorithm>
#include <unistd.h>

// --- The bytes on the line ---------------------------------------------------------------

TEST_F(CtlFixture, EachCommandPutsTheWindowsBytesOnTheLineAndSaysOk) {
    struct Case {
        QStringList args;
        QString bytes;
    };
    const QString lit = QStringLiteral("B2 ").repeated(40).trimmed();
    const Case cases[] = {
        {{"set-baud", "9600", "even"}, "04 01 42 31 45 17"},
        {{"international", "4"}, "04 01 49 34 17"},
        {{"international", "denmark i"}, "04 01 49 34 17"},
        {{"international", "E: Greek"}, "04 01 49 3E 17"},
        {{"save-layer", "2"}, "04 01 53 32 17"},
        {{"cursor", "12"}, "04 01 50 3C 17"},
        {{"clear", "1", "40"}, "04 01 43 31 58 17"},
        {{"demo", "1", "Mode 3 (Blinking)"}, "04 01 44 32 33 17"},
        {{"after-reboot", "running"}, "04 01 4F 31 17"},
        {{"printer", "on"}, "1B 47"},
        {{"printer", "off"}, "1B 53"},
        {{"send", "HI", "THERE"}, "48 49 20 54 48 45 52 45"},
        {{"light"}, lit},
        {{"raw", "1b", "40"}, "1B 40"},
        {{"raw", "1B40"}, "1B 40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        Attach();
        const CtlResult result = Run(c.args);
        EXPECT_EQ(result.exit, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, "OK\n");
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(Received(), c.bytes);
    }
}

TEST_F(CtlFixture, VersionAndMessageAreReadBack) {
    Attach();
    CtlResult result = Run({"version"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out, "V1.07\n");
    EXPECT_EQ(Received(), "04 01 56 17");

    ASSERT_EQ(Run({"send", "HELLO"}).exit, 0);
    result = Run({"get"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_TRUE(result.out.startsWith("HELLO")) << result.out.toStdString();
}

// A display (or anything on the cable) may answer with terminal controls: the technician's
// terminal must see them written out, never act on them.
TEST_F(CtlFixture, ControlBytesOfAReplyArePrintedEscaped) {
    PtyDisplayOptions options;
    options.emulator.version = QByteArray("V1\x1b]0;owned\x07\x1b[2J\x9d\x7f", 18);
    Attach(options);
    // Control characters in what reached the terminal, line ends aside.
    const auto raw = [](const QString& i_sOutput) {
        return std::count_if(i_sOutput.begin(), i_sOutput.end(), [](QChar c) {
            return (c < QChar(0x20) && c != QChar('\n')) || (c >= QChar(0x7F) && c <= QChar(0x9F));
        });
    };
    CtlResult result = Run({"version"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_EQ(raw(result.out), 0);
    EXPECT_EQ(result.out, "V1<1B>]0;owned<07><1B>[2J<9D><7F>\n");

    result = Run({"--trace", "version"});
    EXPECT_EQ(raw(result.err), 0);
    EXPECT_TRUE(result.err.contains("\"V1<1B>]0;owned<07><1B>[2J")) << result.err.toStdString();

    result = Run({"--json", "version"});
    EXPECT_EQ(raw(result.out), 0);
    EXPECT_TRUE(
        result.out.contains("\"version\":\"V1\\u001b]0;owned\\u0007\\u001b[2J\\u009d\\u007f\""))
        << result.out.toStdString();
}

// --- JSON ---------------------------------------------------------------------------------

TEST_F(CtlFixture, JsonIsOneLineWithTheKeysInOrder) {
    Attach();
    const CtlResult result = Run({"--json", "version"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out, QString("{\"command\":\"version\",\"port\":\"%1\",\"status\":0,\"text\":"
                                  "\"OK\",\"version\":\"V1.07\",\"exit\":0}\n")
                              .arg(Slave()));
}

TEST_F(CtlFixture, QuietSuccessPrintsNothing) {
    Attach();
    const CtlResult result = Run({"--quiet", "cursor", "1"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Received(), "04 01 50 31 17");
}

// --- Displays that do not play along ----------------------------------------------------

TEST_F(CtlFixture, SilentDisplayEndsWithFourAndTheProgramsWords) {
    PtyDisplayOptions options;
    options.silent = true;
    Attach(options);
    CtlResult result = Run({"international", "1"});
    EXPECT_EQ(result.exit, 4);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "lumoq4ctl: Device does not respond.\n");

    result = Run({"--json", "version"});
    EXPECT_EQ(result.exit, 4);
    EXPECT_EQ(result.out, QString("{\"command\":\"version\",\"port\":\"%1\",\"status\":-4,\"text\":"
                                  "\"Device does not respond.\",\"exit\":4}\n")
                              .arg(Slave()));
}

TEST_F(CtlFixture, RefusingDisplayEndsWithSix) {
    PtyDisplayOptions options;
    options.emulator.refuseAllFrames = true;
    Attach(options);
    const CtlResult result = Run({"save-layer", "1"});
    EXPECT_EQ(result.exit, 6);
    EXPECT_EQ(result.err, "lumoq4ctl: Get Nack\n");
}

TEST_F(CtlFixture, MissingDeviceIsAnOpenFailureWithTheReason) {
    const CtlResult result = RunBare({"--port", "/nonexistent/lumoq4", "printer", "on"});
    EXPECT_EQ(result.exit, 2);
    EXPECT_TRUE(result.err.startsWith("lumoq4ctl: Commport open failed. /nonexistent/lumoq4: "))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("The device does not exist"));
    EXPECT_EQ(result.err.count('\n'), 1);
}

// --- Usage errors -------------------------------------------------------------------------

TEST_F(CtlFixture, UsageErrorsEndWithSixtyFourAndSendNothing) {
    Attach();
    const QStringList cases[] = {{"frobnicate"},
                                 {"cursor", "41"},
                                 {"cursor", "0"},
                                 {"save-layer", "4"},
                                 {"international", "15"},
                                 {"set-baud", "115200", "none"},
                                 {"printer", "maybe"},
                                 {"raw", "1g"},
                                 {"raw", "123"},
                                 {"demo", "7", "0"},
                                 {"clear", "1"},
                                 {"version", "now"},
                                 {"--baud", "300", "version"},
                                 {"--bogus", "version"},
                                 {"send", "12345678901234567890123456789012345678901"}};
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CtlResult result = Run(args);
        EXPECT_EQ(result.exit, 64);
        EXPECT_TRUE(result.err.contains("usage: lumoq4ctl [OPTIONS] COMMAND [ARGS]"))
            << result.err.toStdString();
    }
    EXPECT_EQ(Received(), "");
}

TEST_F(CtlFixture, UsageErrorWithJsonIsStillOneObject) {
    const CtlResult result = RunBare({"--json", "cursor"});
    EXPECT_EQ(result.exit, 64);
    // The arguments are checked before any port is chosen: the object names none.
    EXPECT_TRUE(result.out.startsWith("{\"command\":\"cursor\","
                                      "\"text\":\"cursor: missing a cell from 1 to 40 (usage: "))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.endsWith(",\"exit\":64}\n"));
}

TEST_F(CtlFixture, ArgumentsAreCheckedBeforeThePortWhateverThePortIs) {
    Attach();
    // The display would refuse a range that ends before it begins: nothing is sent.
    CtlResult result = Run({"clear", "10", "5"});
    EXPECT_EQ(result.exit, 64);
    EXPECT_EQ(result.err, "lumoq4ctl: clear: FROM 10 is after TO 5 (usage: lumoq4ctl [OPTIONS] "
                          "COMMAND [ARGS]; see lumoq4ctl --help)\n");
    EXPECT_EQ(Received(), "");
    // COM1 unmapped leads to the machine's own first port: refused or not, a malformed
    // command is a usage error before any of that.
    m_environment.emplace_back("LUMOQ4_PORT", "");
    m_environment.emplace_back("LUMOQ4_COM1", "");
    const QStringList cases[] = {{"cursor", "99"},
                                 {"firmware"},
                                 {"firmware", "a.bin", "b.bin"},
                                 {"firmware", "--type", "qx", "a.bin"}};
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        result = RunBare(QStringList{"--port", "COM1"} + args);
        EXPECT_EQ(result.exit, 64) << result.err.toStdString();
        EXPECT_EQ(result.err.count('\n'), 1);
    }
}

TEST_F(CtlFixture, DoubleDashEndsTheOptionsAndJsonCoversHelpAndVersion) {
    Attach();
    CtlResult result = Run({"send", "--", "--json"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "OK\n");
    EXPECT_EQ(Received(), "2D 2D 6A 73 6F 6E");
    for (const char* option : {"--help", "--version"}) {
        SCOPED_TRACE(option);
        result = RunBare({"--json", option});
        EXPECT_EQ(result.exit, 0);
        EXPECT_TRUE(result.out.startsWith(QString("{\"command\":\"%1\",\"text\":\"").arg(option)))
            << result.out.toStdString();
        EXPECT_TRUE(result.out.endsWith(",\"exit\":0}\n"));
        EXPECT_EQ(result.out.count('\n'), 1);
    }
}

// --- The machine's devices and Find Display -----------------------------------------------

TEST_F(CtlFixture, PortsTellsWhereEachComnLeadsAndWhy) {
    Attach();
    m_environment.emplace_back("LUMOQ4_COM3", Slave());
    const CtlResult result = RunBare({"--json", "ports"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(
        QString("{\"com\":\"COM3\",\"path\":\"%1\",\"source\":\"LUMOQ4_COM3\"}").arg(Slave())))
        << result.out.toStdString();

    const CtlResult text = RunBare({"ports"});
    EXPECT_TRUE(text.out.contains(QString("COM3 → %1 · set by LUMOQ4_COM3\n").arg(Slave())))
        << text.out.toStdString();
}

TEST_F(CtlFixture, FindReportsTheRateAtWhichTheDisplayAnswersAndSendsVersionQueriesThenTheClear) {
    // The scan writes to the selected device alone; should it stray, the machine's own ports
    // are /dev/null here.
    if (::getuid() != 0 || QProcess::execute("unshare", {"-m", "true"}) != 0) {
        GTEST_SKIP() << "needs root and unshare -m to hide the machine's serial ports";
    }
    m_wrapper = {"unshare",
                 "-m",
                 "sh",
                 "-c",
                 "for f in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do [ -c \"$f\" ] || continue; "
                 "mount --bind /dev/null \"$f\" || exit 99; done; exec \"$@\"",
                 "sh"};
    PtyDisplayOptions options;
    options.lineSpeed = 9600;
    Attach(options);
    const CtlResult result = Run({"--json", "find"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QString("\"port\":\"%1\"").arg(Slave())));
    EXPECT_TRUE(result.out.contains("\"baud\":\"9600\",\"parity\":\"NONE\",\"version\":\"V1.07\""))
        << result.out.toStdString();
    // 38400 first (the stored selection), then 19200 with each parity, then 9600; then the
    // clear of every cell wipes what the wrong speeds left on the glass.
    EXPECT_TRUE(Received().startsWith("04 01 56 17 04 01 56 17")) << Received().toStdString();
    EXPECT_EQ(Received().remove("04 01 56 17").trimmed(), "04 01 43 31 58 17");
}
