#include "CtlFixture.h"
#include "core/settings/SettingsStore.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>

namespace {

// The window's stored selections, as its lists write them.
void Store(const char* i_sSection, const char* i_sKey, const char* i_sValue) {
    SettingsStore::SaveSetting("LumoQ4 Utility", i_sSection, i_sKey, i_sValue);
}

// The lines of a trace without their times.
QStringList Untimed(const QString& i_sTrace) {
    QStringList lines;
    for (QString line : i_sTrace.trimmed().split('\n')) {
        line = line.trimmed();
        lines << line.mid(line.indexOf(' ')).trimmed();
    }
    return lines;
}

QString OpenLine(const QString& i_sTrace) {
    return Untimed(i_sTrace).value(0);
}

} // namespace

// --- What the window chose ----------------------------------------------------------------

TEST_F(CtlFixture, TheWindowsBaudRateAndParityAreUsedUnlessGiven) {
    Attach();
    Store("Settings", "BaudRate", "2"); // 9600
    Store("Settings", "Parity", "2");   // EVEN
    CtlResult result = Run({"--trace", "version"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(OpenLine(result.err), QString("open %1 9600e,7,1").arg(Slave()));

    result = Run({"--trace", "--baud", "4800", "--parity", "odd", "version"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(OpenLine(result.err), QString("open %1 4800o,7,1").arg(Slave()));
}

TEST_F(CtlFixture, ThePortComesFromTheEnvironmentAndTheWindowsMapping) {
    Attach();
    Store("Settings", "Comport", "2"); // COM3
    m_environment.emplace_back("LUMOQ4_COM3", Slave());
    m_environment.emplace_back("LUMOQ4_PORT", "");
    CtlResult result = RunBare({"--json", "cursor", "3"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_TRUE(
        result.out.startsWith(QString("{\"command\":\"cursor\",\"port\":\"%1\"").arg(Slave())));

    Store("Settings", "Comport", "0");
    m_environment.back().second = "com3";
    result = RunBare({"cursor", "4"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(Received(), "04 01 50 33 17 04 01 50 34 17");
}

TEST_F(CtlFixture, APathGivenOnTheCommandLineIsNeverWrittenToTheSettings) {
    Attach();
    Store("Settings", "Comport", "0");
    const QString file = SettingsStore::FileFor("LumoQ4 Utility");
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray stored = before.readAll();
    before.close();

    ASSERT_EQ(Run({"printer", "off"}).exit, 0);
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), stored);
}

TEST_F(CtlFixture, TheFirmwareDialogsChoicesAreTheDefaults) {
    Attach();
    Store("Xmodem", "Type", "1"); // XModem - CRC, which the display asks for
    Store("Code", "Type", "1");   // Not Encripted - ZX
    QDir folder(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")));
    const QString image = folder.filePath("image.bin");
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(256, '\x11'));
    file.close();
    m_environment.emplace_back("LUMOQ4_SERVICE_PASSWORD", "KQZD");
    const CtlResult result = Run({"--quiet", "firmware", image});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(m_pDisplay->Received().startsWith("\x1BLoadXA\rZX\r\n"));
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(256, '\x11'));
}

// --- The trace ----------------------------------------------------------------------------

TEST_F(CtlFixture, TraceShowsEachEventInTheLineMonitorsWords) {
    Attach();
    const CtlResult result = Run({"--trace", "international", "4"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out, "OK\n");
    EXPECT_EQ(Untimed(result.err),
              QStringList({QString("open %1 38400n,8,1").arg(Slave()),
                           "→  04 01 49 34 17  set international code 4: Denmark I", "←  06  ACK",
                           "close"}));
}

TEST_F(CtlFixture, SetBaudOnTheWindowsPortMovesTheWindowsRateWithTheDisplay) {
    PtyDisplayOptions options;
    options.lineSpeed = 38400;
    Attach(options);
    m_environment.emplace_back("LUMOQ4_COM1", Slave());
    m_environment.emplace_back("LUMOQ4_PORT", "");
    ASSERT_EQ(RunBare({"set-baud", "9600", "none"}).exit, 0);
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "BaudRate"), "2");

    const CtlResult result = RunBare({"version"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "V1.07\n");
}

TEST_F(CtlFixture, SetBaudOnAnotherPortLeavesTheWindowsRateAlone) {
    PtyDisplayOptions options;
    options.lineSpeed = 38400;
    Attach(options);
    Store("Settings", "Comport", "0"); // the window works on COM1
    Store("Settings", "BaudRate", "0");
    m_environment.emplace_back("LUMOQ4_COM2", Slave());
    m_environment.emplace_back("LUMOQ4_PORT", "");
    ASSERT_EQ(RunBare({"--port", "COM2", "set-baud", "9600", "none"}).exit, 0);
    EXPECT_EQ(Received(), "04 01 42 31 4E 17");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "BaudRate"), "0");
}
