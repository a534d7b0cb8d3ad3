#include "support/WindowFixture.h"

namespace {

// The ten remembered lists, where each keeps its index, in the order start-up reads them.
struct Remembered {
    const char* list;
    const char* section;
    const char* key;
    int index; // an entry other than the one start-up leaves selected
};

const Remembered kRemembered[] = {
    {"cboLumoType", "Set", "LumoType", 6},
    {"cboComport", "Settings", "Comport", 9},
    {"cboBaudRate", "Settings", "BaudRate", 5},
    {"cboParity", "Settings", "Parity", 2},
    {"cboS_BaudRate", "Set", "BaudRate", 4},
    {"cboS_Parity", "Set", "Parity", 1},
    {"cboInternationalCode", "Set", "InternationalCode", 13},
    {"cboLayer", "Set", "Layer", 3},
    {"cboShowSavedMessageAfterRebootMode", "Set", "ShowSavedMessageAfterRebootMode", 1},
    {"cboMode", "Set", "Mode", 6},
};

class RememberedSelectionTest : public WindowFixture,
                                public ::testing::WithParamInterface<Remembered> {};

TEST_P(RememberedSelectionTest, EachListWritesItsKeyTheMomentItsSelectionChanges) {
    const Remembered r = GetParam();
    Start();
    Combo(QLatin1String(r.list))->setCurrentIndex(r.index);
    EXPECT_EQ(Stored(r.section, r.key), QString::number(r.index));
}

INSTANTIATE_TEST_SUITE_P(TenLists, RememberedSelectionTest, ::testing::ValuesIn(kRemembered));

class StartupReadsTest : public WindowFixture {};

TEST_F(StartupReadsTest, TheNationalListWritesTheInternationalCodeKey) {
    Start();
    Combo("cboNational")->setCurrentIndex(8);
    EXPECT_EQ(Stored("Set", "InternationalCode"), "8");
}

// A value that no list has makes every restore fail where it happens, so the messages show
// which key start-up reads into which list, and in what order.
TEST_F(StartupReadsTest, EveryKeyIsReadIntoItsListInTheFixedOrder) {
    for (const Remembered& r : kRemembered) {
        Store(r.section, r.key, QStringLiteral("99"));
    }
    frmMain& w = Start();
    ASSERT_EQ(m_prompt.entries.size(), 10u) << m_prompt.Texts().join("\n").toStdString();
    for (size_t i = 0; i < 10; ++i) {
        const Remembered& r = kRemembered[i];
        const QString text = m_prompt.entries[i].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("The stored selection %1/%2 = \"99\"")
                                        .arg(QLatin1String(r.section), QLatin1String(r.key))))
            << i << ": " << text.toStdString();
        EXPECT_TRUE(
            text.contains(QStringLiteral("The list %1 has no entry 99").arg(QLatin1String(r.list))))
            << i << ": " << text.toStdString();
    }
    // The display type was not restored, so the international-code list was still empty
    // when its turn came.
    EXPECT_TRUE(m_prompt.entries[6].text.endsWith("it has no entries."));
    // Start-up went on to its end all the same.
    EXPECT_EQ(w.m_iDisplayType, 4);
    EXPECT_FALSE(w.m_blnLoading);
}

} // namespace
