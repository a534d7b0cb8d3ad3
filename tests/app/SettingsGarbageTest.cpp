#include "support/WindowFixture.h"

namespace {

struct Garbage {
    const char* section;
    const char* key;
    QString value;
};

class SettingsGarbage : public WindowFixture, public ::testing::WithParamInterface<Garbage> {};

// Whatever a key holds, start-up completes, says at most one thing about it, and the window
// works afterwards.
TEST_P(SettingsGarbage, StartUpCompletesAndTheWindowWorks) {
    const Garbage g = GetParam();
    Store(g.section, g.key, g.value);
    frmMain& w = Start();
    // A display type that cannot be restored also leaves the international-code list empty at
    // its own restore: that step says so too.
    EXPECT_LE(m_prompt.entries.size(), QLatin1String(g.key) == QLatin1String("LumoType") ? 2u : 1u);
    for (const auto& entry : m_prompt.entries) {
        EXPECT_EQ(entry.title, "LumoQ4 Utility");
        EXPECT_LT(entry.text.size(), 300);
    }
    EXPECT_FALSE(w.m_blnLoading);
    EXPECT_EQ(w.m_iDisplayType, 4);
    EXPECT_EQ(w.windowTitle(), "LumoQ4 Utility V1.2R3");
    for (int tab = 0; tab < 4; ++tab) {
        EXPECT_TRUE(w.SSTab1->isTabEnabled(tab));
    }
    m_pComm->AnswerFrames(QByteArray("\x06"));
    Combo("cboComport")->setCurrentIndex(0);
    Combo("cboBaudRate")->setCurrentIndex(1);
    Combo("cboParity")->setCurrentIndex(0);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_FALSE(w.Busy());
}

std::vector<Garbage> allGarbage() {
    const std::pair<const char*, const char*> keys[] = {{"Set", "LumoType"},
                                                        {"Settings", "Comport"},
                                                        {"Settings", "BaudRate"},
                                                        {"Settings", "Parity"},
                                                        {"Set", "BaudRate"},
                                                        {"Set", "Parity"},
                                                        {"Set", "InternationalCode"},
                                                        {"Set", "Layer"},
                                                        {"Set", "ShowSavedMessageAfterRebootMode"},
                                                        {"Set", "Mode"}};
    const QString values[] = {QString(), "abc",   "-2",
                              "1e9",     "99999", QString(10000, QLatin1Char('7'))};
    std::vector<Garbage> out;
    for (const auto& [section, key] : keys) {
        for (const QString& value : values) {
            out.push_back({section, key, value});
        }
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(EveryKey, SettingsGarbage, ::testing::ValuesIn(allGarbage()));

} // namespace
