#include "support/WindowFixture.h"

#include "core/device/CLumo.h"

#include <QFile>
#include <QGroupBox>
#include <QSettings>

namespace {

class StartupTest : public WindowFixture {};

TEST_F(StartupTest, FirstStartWithAnEmptyStoreSelectsTheFirstEntriesAndEndsOnTheQ4) {
    frmMain& w = Start();
    EXPECT_EQ(w.windowTitle(), "LumoQ4 Utility V1.2R3");
    EXPECT_TRUE(m_prompt.entries.empty()) << m_prompt.Texts().join("\n").toStdString();
    EXPECT_EQ(Combo("cboComport")->currentText(), "COM1");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "38400");
    EXPECT_EQ(Combo("cboParity")->currentText(), "NONE");
    EXPECT_EQ(Combo("cboS_BaudRate")->currentText(), "38400");
    EXPECT_EQ(Combo("cboS_Parity")->currentText(), "NONE");
    EXPECT_EQ(Combo("cboLayer")->currentText(), "Layer 1");
    EXPECT_EQ(Combo("cboShowSavedMessageAfterRebootMode")->currentText(), "Stay");
    EXPECT_EQ(Combo("cboMode")->currentText(), "Mode 1 (Horizontal Scroll)");
    EXPECT_EQ(Combo("cboInternationalCode")->currentText(), "0: U.S.A");
    EXPECT_EQ(Combo("cboNational")->currentText(), "0: U.S.A");
    EXPECT_EQ(Combo("cboDevice")->currentText(), "Printer ON");
    EXPECT_EQ(Combo("cboPeripheral")->currentText(), "display");
    EXPECT_EQ(Combo("cboOperation")->currentText(), "over-write");
    EXPECT_EQ(Combo("cboExpand")->currentText(), "0");
    EXPECT_EQ(Combo("cboLumoType")->currentText(), "LumoQ4      (2x20)");
    EXPECT_EQ(w.m_iDisplayType, 4);
    EXPECT_FALSE(w.m_blnLoading);
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    for (int tab = 0; tab < 4; ++tab) {
        EXPECT_TRUE(w.SSTab1->isTabEnabled(tab)) << tab;
    }
    EXPECT_TRUE(Button("cmdFirmwireUpdate")->isEnabled());

    // The session got the restored serial parameters.
    EXPECT_EQ(w.m_lumo().CommPort(), 1);
    EXPECT_EQ(w.m_lumo().BaudRate(), "38400");
    EXPECT_EQ(w.m_lumo().Parity(), "n,8,1");

    // Start-up sends nothing to the display.
    EXPECT_TRUE(m_pComm->journal.isEmpty()) << m_pComm->journal.join("\n").toStdString();
}

TEST_F(StartupTest, TheTenKeysHoldWhatTheRestoresAndTheDisplayTypeWrote) {
    Start();
    EXPECT_EQ(Stored("Set", "LumoType"), "4");
    EXPECT_EQ(Stored("Settings", "Comport"), "0");
    EXPECT_EQ(Stored("Settings", "BaudRate"), "0");
    EXPECT_EQ(Stored("Settings", "Parity"), "0");
    EXPECT_EQ(Stored("Set", "BaudRate"), "0");
    EXPECT_EQ(Stored("Set", "Parity"), "0");
    EXPECT_EQ(Stored("Set", "InternationalCode"), "0");
    EXPECT_EQ(Stored("Set", "Layer"), "0");
    EXPECT_EQ(Stored("Set", "Mode"), "0");
    EXPECT_EQ(Stored("Set", "ShowSavedMessageAfterRebootMode"), "0");

    // On disk, in the INI file of the program's name, one group per section.
    QSettings ini(SettingsStore::FileFor("LumoQ4 Utility"), QSettings::IniFormat);
    EXPECT_TRUE(ini.fileName().endsWith("LumoQ4 Utility/LumoQ4 Utility.ini"));
    EXPECT_EQ(ini.value("Set/LumoType").toString(), "4");
    EXPECT_EQ(ini.value("Settings/Comport").toString(), "0");
}

TEST_F(StartupTest, TheHiddenControlsAreNeverVisible) {
    frmMain& w = Start();
    w.show();
    EXPECT_FALSE(Button("cmdMis")->isVisible());
    EXPECT_FALSE(Find<QGroupBox>("Frame2")->isVisible());
    EXPECT_FALSE(Combo("cboLumoType")->isVisible());
    EXPECT_TRUE(Combo("cboComport")->isVisible());
}

TEST_F(StartupTest, StoredSelectionsComeBack) {
    Store("Settings", "Comport", "3");
    Store("Settings", "BaudRate", "2");
    Store("Settings", "Parity", "2");
    Store("Set", "Layer", "2.5");
    Store("Set", "ShowSavedMessageAfterRebootMode", "1");
    Store("Set", "BaudRate", "6");
    frmMain& w = Start();
    EXPECT_TRUE(m_prompt.entries.empty()) << m_prompt.Texts().join("\n").toStdString();
    EXPECT_EQ(Combo("cboComport")->currentText(), "COM4");
    EXPECT_EQ(w.m_lumo().CommPort(), 4);
    EXPECT_EQ(w.m_lumo().BaudRate(), "9600");
    EXPECT_EQ(w.m_lumo().Parity(), "e,7,1");
    EXPECT_EQ(Combo("cboLayer")->currentText(), "Layer 3"); // 2.5 rounds to the even 2
    EXPECT_EQ(Combo("cboShowSavedMessageAfterRebootMode")->currentText(), "Running");
    EXPECT_EQ(Combo("cboS_BaudRate")->currentText(), "600");
}

TEST_F(StartupTest, HalvesRoundToEvenAndLeadingNumbersCount) {
    Store("Set", "Layer", "3.5");
    Store("Settings", "BaudRate", " 4 baud");
    Start();
    EXPECT_EQ(Combo("cboLayer")->currentText(), "Layer 1 + 3");
    EXPECT_EQ(Combo("cboBaudRate")->currentText(), "2400");
}

TEST_F(StartupTest, ModeAndInternationalCodeAlwaysComeUpOnTheirFirstEntry) {
    Store("Set", "Mode", "5");
    Store("Set", "InternationalCode", "7");
    Start();
    // The display-type handling writes 0 to both before they are read.
    EXPECT_EQ(Combo("cboMode")->currentIndex(), 0);
    EXPECT_EQ(Combo("cboInternationalCode")->currentIndex(), 0);
    EXPECT_EQ(Combo("cboNational")->currentIndex(), 0);
    EXPECT_EQ(Stored("Set", "Mode"), "0");
    EXPECT_EQ(Stored("Set", "InternationalCode"), "0");
}

TEST_F(StartupTest, MinusOneLeavesTheListEmptyWithoutAMessage) {
    Store("Settings", "Comport", "-1");
    frmMain& w = Start();
    EXPECT_TRUE(m_prompt.entries.empty());
    EXPECT_EQ(Combo("cboComport")->currentIndex(), -1);
    EXPECT_EQ(w.m_lumo().CommPort(), 0);
    EXPECT_EQ(Stored("Settings", "Comport"), "-1");
}

TEST_F(StartupTest, TextThatIsNoNumberReadsAsZero) {
    Store("Settings", "Comport", "abc");
    Start();
    EXPECT_TRUE(m_prompt.entries.empty());
    EXPECT_EQ(Combo("cboComport")->currentText(), "COM1");
    EXPECT_EQ(Stored("Settings", "Comport"), "0");
}

TEST_F(StartupTest, AValueThatCannotBeRestoredIsToldAndStartUpGoesOn) {
    Store("Settings", "Comport", "20");
    Store("Settings", "BaudRate", "-2");
    Store("Settings", "Parity", "99999");
    frmMain& w = Start();
    ASSERT_EQ(m_prompt.entries.size(), 3u) << m_prompt.Texts().join("\n").toStdString();
    for (const auto& entry : m_prompt.entries) {
        EXPECT_EQ(entry.title, "LumoQ4 Utility");
    }
    EXPECT_TRUE(m_prompt.entries[0].text.contains("Settings/Comport = \"20\""));
    EXPECT_TRUE(m_prompt.entries[0].text.contains("0 to 15"));
    EXPECT_TRUE(m_prompt.entries[1].text.contains("Settings/BaudRate = \"-2\""));
    EXPECT_TRUE(m_prompt.entries[2].text.contains("Settings/Parity = \"99999\""));
    EXPECT_TRUE(m_prompt.entries[2].text.contains("out of range"));

    // The lists keep no selection, the session its defaults, and the rest of start-up ran.
    EXPECT_EQ(Combo("cboComport")->currentIndex(), -1);
    EXPECT_EQ(Combo("cboBaudRate")->currentIndex(), -1);
    EXPECT_EQ(Combo("cboParity")->currentIndex(), -1);
    EXPECT_EQ(w.m_lumo().CommPort(), 0);
    EXPECT_EQ(w.m_lumo().BaudRate(), "");
    EXPECT_EQ(Combo("cboLayer")->currentIndex(), 0);
    EXPECT_EQ(w.windowTitle(), "LumoQ4 Utility V1.2R3");
    EXPECT_EQ(w.m_iDisplayType, 4);
    EXPECT_EQ(Stored("Settings", "Comport"), "20");
}

TEST_F(StartupTest, ALongGarbageValueIsShortenedInTheMessage) {
    Store("Set", "Layer", QString(10000, QLatin1Char('9')));
    Start();
    ASSERT_EQ(m_prompt.entries.size(), 1u);
    EXPECT_LT(m_prompt.entries[0].text.size(), 300);
    EXPECT_EQ(Combo("cboLayer")->currentIndex(), -1);
}

TEST_F(StartupTest, NothingIsWrittenAtExit) {
    frmMain& w = Start();
    const QString file = SettingsStore::FileFor("LumoQ4 Utility");
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray content = before.readAll();
    before.close();
    w.show();
    Button("cmdExit")->click();
    m_pWindow.reset();
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), content);
}

TEST_F(StartupTest, ASelectionIsWrittenTheMomentItChanges) {
    Start();
    Combo("cboLayer")->setCurrentIndex(5);
    EXPECT_EQ(Stored("Set", "Layer"), "5");
    QSettings ini(SettingsStore::FileFor("LumoQ4 Utility"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Set/Layer").toString(), "5");

    m_pWindow.reset();
    Start();
    EXPECT_EQ(Combo("cboLayer")->currentText(), "Layer 2 + 3");
}

TEST_F(StartupTest, ChangingTheSerialListsHandsTheValuesToTheSession) {
    frmMain& w = Start();
    Combo("cboComport")->setCurrentIndex(15);
    Combo("cboBaudRate")->setCurrentIndex(6);
    Combo("cboParity")->setCurrentIndex(1);
    EXPECT_EQ(w.m_lumo().CommPort(), 16);
    EXPECT_EQ(w.m_lumo().BaudRate(), "600");
    EXPECT_EQ(w.m_lumo().Parity(), "o,7,1");
    EXPECT_EQ(Stored("Settings", "Comport"), "15");
    EXPECT_EQ(Stored("Settings", "BaudRate"), "6");
    EXPECT_EQ(Stored("Settings", "Parity"), "1");
    EXPECT_TRUE(m_pComm->journal.isEmpty()); // selecting opens nothing
}

TEST_F(StartupTest, TheInternationalCodeListsMirrorEachOther) {
    Start();
    Combo("cboNational")->setCurrentIndex(11);
    EXPECT_EQ(Combo("cboInternationalCode")->currentText(), "B: East Europe");
    EXPECT_EQ(Stored("Set", "InternationalCode"), "11");
    Combo("cboInternationalCode")->setCurrentIndex(4);
    EXPECT_EQ(Combo("cboNational")->currentText(), "4: Denmark I");
    EXPECT_EQ(Stored("Set", "InternationalCode"), "4");
}

TEST_F(StartupTest, AStoreThatCannotBeWrittenIsToldOnceAndTheProgramGoesOn) {
    // A plain file where the settings folder should be: nothing can be created below it, even
    // for root.
    const QString config = TestEnvironment::FreshSettingsFolder();
    QFile blocker(config + "/LumoQ4 Utility");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    frmMain& w = Start();
    ASSERT_EQ(m_prompt.entries.size(), 1u) << m_prompt.Texts().join("\n").toStdString();
    EXPECT_EQ(m_prompt.entries[0].icon, Prompt::Icon::Exclamation);
    EXPECT_TRUE(m_prompt.entries[0].text.contains("cannot be saved"));
    EXPECT_EQ(w.m_iDisplayType, 4);

    // Later selections still take effect and are remembered for this run.
    Combo("cboLayer")->setCurrentIndex(6);
    EXPECT_EQ(Stored("Set", "Layer"), "6");
    EXPECT_EQ(m_prompt.entries.size(), 1u);
}

TEST_F(StartupTest, EachPortEntryNamesItsDevice) {
    qputenv("LUMOQ4_COM2", "/dev/pts/77");
    Start();
    EXPECT_EQ(Combo("cboComport")->itemData(0, Qt::ToolTipRole).toString(),
              "COM1 is /dev/ttyS0 (the default)");
    EXPECT_EQ(Combo("cboComport")->itemData(1, Qt::ToolTipRole).toString(),
              "COM2 is /dev/pts/77 (LUMOQ4_COM2)");
    qunsetenv("LUMOQ4_COM2");
}

} // namespace
