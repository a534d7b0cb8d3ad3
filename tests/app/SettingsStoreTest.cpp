#include "core/settings/SettingsStore.h"
#include "core/common/AppInfo.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString readText(const QString& i_sPath) {
    QFile file(i_sPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { m_sFolder = TestEnvironment::FreshSettingsFolder(); }
    void TearDown() override {
        QFile::setPermissions(m_sFolder + "/LumoQ4 Utility",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SettingsStore::ResetForTests();
    }

    QString IniFile() const { return m_sFolder + "/LumoQ4 Utility/LumoQ4 Utility.ini"; }

    RecordingPrompt m_prompt;
    QString m_sFolder;
};

TEST_F(SettingsStoreTest, TheProgramsValuesLiveInOneIniFileUnderTheConfigFolder) {
    EXPECT_EQ(SettingsStore::FileFor("LumoQ4 Utility"), IniFile());
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "5");

    // On disk at once, as an INI group per section.
    QSettings ini(IniFile(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Set/Layer").toString(), "5");
    const QString text = readText(IniFile());
    EXPECT_TRUE(text.contains("[Set]")) << text.toStdString();
    EXPECT_TRUE(text.contains("Layer=5")) << text.toStdString();
    EXPECT_TRUE(m_prompt.entries.empty());
}

TEST_F(SettingsStoreTest, AValueWrittenIsReadBackAndMissingOnesGiveTheDefault) {
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "Comport", "0"), "0");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "Comport"), "");
    EXPECT_FALSE(QFile::exists(IniFile())); // reading creates nothing

    SettingsStore::SaveSetting("LumoQ4 Utility", "Settings", "Comport", "3");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "Comport", "0"), "3");
    SettingsStore::SaveSetting("LumoQ4 Utility", "Settings", "Comport", "12");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "Comport", "0"), "12");
}

TEST_F(SettingsStoreTest, SectionsKeepTheirOwnKeys) {
    SettingsStore::SaveSetting("LumoQ4 Utility", "Settings", "BaudRate", "2");
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "BaudRate", "6");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "BaudRate", "0"), "2");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "BaudRate", "0"), "6");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Xmodem", "BaudRate", "0"), "0");
}

TEST_F(SettingsStoreTest, AFileEditedByHandIsRead) {
    QDir().mkpath(m_sFolder + "/LumoQ4 Utility");
    QFile file(IniFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nComport=3\n[Set]\nLumoType=4\n");
    file.close();
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Settings", "Comport", "0"), "3");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "LumoType", "0"), "4");
}

TEST_F(SettingsStoreTest, PathsAndOddCharactersSurviveTheRoundTrip) {
    const char* values[] = {"/home/tech/fw image.hex", "C:\\Lumo\\FW\\q4.hex", "a=b;c#d",
                            " padded ", ""};
    for (const char* value : values) {
        SettingsStore::SaveSetting("LumoQ4 Utility", "XModem", "File", value);
        EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "XModem", "File", "default"), value);
    }
}

TEST_F(SettingsStoreTest, TheProgramFolderNameHasAFileOfItsOwn) {
    const QString folderName = "/opt/lumo q4/bin";
    const QString file = SettingsStore::FileFor(folderName);
    EXPECT_EQ(file, m_sFolder + "/LumoQ4 Utility/%2Fopt%2Flumo q4%2Fbin.ini");

    SettingsStore::SaveSetting(folderName, "XModem", "File", "/opt/lumo q4/bin/fw.hex");
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(IniFile()));
    EXPECT_EQ(SettingsStore::GetSetting(folderName, "XModem", "File"), "/opt/lumo q4/bin/fw.hex");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "XModem", "File", "none"), "none");
    EXPECT_EQ(SettingsStore::GetSetting("/opt/lumo q4", "XModem", "File", "none"), "none");
}

TEST_F(SettingsStoreTest, ItFollowsTheConfigFolderOfTheEnvironment) {
    const QString other = TestEnvironment::FreshSettingsFolder();
    EXPECT_EQ(SettingsStore::FileFor("LumoQ4 Utility"),
              other + "/LumoQ4 Utility/LumoQ4 Utility.ini");
}

// The user is told once, the run goes on with the value in memory.
void expectToldOnceAndKeptInMemory(const RecordingPrompt& i_prompt, const QString& i_sFile) {
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "5");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "Layer", "0"), "5");
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Mode", "2");
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "6");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "Layer", "0"), "6");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "Mode", "0"), "2");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "LumoType", "0"), "0");

    ASSERT_EQ(i_prompt.entries.size(), 1u);
    EXPECT_EQ(i_prompt.entries[0].icon, Prompt::Icon::Exclamation);
    EXPECT_EQ(i_prompt.entries[0].title, "LumoQ4 Utility");
    EXPECT_TRUE(i_prompt.entries[0].text.contains(i_sFile))
        << i_prompt.entries[0].text.toStdString();
    EXPECT_FALSE(i_prompt.entries[0].question);
}

TEST_F(SettingsStoreTest, AFileWhereTheFolderShouldBeIsToldOnceAndValuesAreKept) {
    QFile blocker(m_sFolder + "/LumoQ4 Utility");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    expectToldOnceAndKeptInMemory(m_prompt, IniFile());
}

TEST_F(SettingsStoreTest, AReadOnlyFolderIsToldOnceAndValuesAreKept) {
    const QString folder = m_sFolder + "/LumoQ4 Utility";
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "1");
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(IniFile(), QFile::ReadOwner));
    if (::access(QFile::encodeName(IniFile()).constData(), W_OK) == 0) {
        GTEST_SKIP() << "permissions do not stop this user from writing (running as root)";
    }
    expectToldOnceAndKeptInMemory(m_prompt, IniFile());
}

TEST_F(SettingsStoreTest, AfterASuccessfulWriteTheFileCountsAgain) {
    QFile blocker(m_sFolder + "/LumoQ4 Utility");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "5");
    ASSERT_TRUE(QFile::remove(m_sFolder + "/LumoQ4 Utility"));
    SettingsStore::SaveSetting("LumoQ4 Utility", "Set", "Layer", "3");
    EXPECT_EQ(SettingsStore::GetSetting("LumoQ4 Utility", "Set", "Layer", "0"), "3");
    QSettings ini(IniFile(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Set/Layer").toString(), "3");
}

} // namespace
