#include "support/WindowFixture.h"

#include "gui/widgets/UpDown.h"

namespace {

class DisplayTypeTest : public WindowFixture {
protected:
    void SelectType(int i_iRow) {
        Start();
        m_prompt.entries.clear();
        Combo("cboLumoType")->setCurrentIndex(i_iRow);
    }

    QString TabStates() {
        QString out;
        for (int tab = 1; tab < 4; ++tab) {
            out += Window().SSTab1->isTabEnabled(tab) ? QLatin1Char('1') : QLatin1Char('0');
        }
        return out;
    }

    int Max(const char* name) { return Window().findChild<UpDown*>(QLatin1String(name))->Max(); }
};

struct Row {
    int row;
    int code;
    const char* tabs; // tabs 1, 2, 3 available
    int cells;
    int rows;
    int columns;
    int modes;
    bool firmware;
    bool vt100;
};

class EveryRow : public DisplayTypeTest, public ::testing::WithParamInterface<Row> {};

TEST_P(EveryRow, ShapesThePanels) {
    const Row r = GetParam();
    SelectType(r.row == 4 ? 0 : r.row); // row 4 is already selected after start-up
    if (r.row == 4) {
        Combo("cboLumoType")->setCurrentIndex(4);
    }
    frmMain& w = Window();
    EXPECT_EQ(w.m_iDisplayType, r.code);
    EXPECT_EQ(TabStates(), QLatin1String(r.tabs));
    EXPECT_TRUE(w.SSTab1->isTabEnabled(0));
    EXPECT_EQ(Edit("txtMessage")->maxLength(), r.cells);
    EXPECT_EQ(Edit("txtEPSON")->maxLength(), r.cells);
    EXPECT_EQ(Max("UpDown1"), 3);
    EXPECT_EQ(Max("UpDown2"), r.cells);
    EXPECT_EQ(Max("UpDown3"), r.cells);
    EXPECT_EQ(Max("UpDown4"), r.cells);
    EXPECT_EQ(Combo("cboRow")->count(), r.rows);
    EXPECT_EQ(Combo("cboRow")->currentText(), "1");
    EXPECT_EQ(Combo("cboColumn")->count(), r.columns);
    EXPECT_EQ(Combo("cboColumn")->itemText(r.columns - 1), QString::number(r.columns));
    EXPECT_EQ(Combo("cboMode")->count(), r.modes);
    EXPECT_EQ(Combo("cboMode")->currentIndex(), 0);
    EXPECT_EQ(Button("cmdFirmwireUpdate")->isEnabled(), r.firmware);
    EXPECT_EQ(Button("cmdMis")->isEnabled(), r.vt100);
    EXPECT_EQ(Combo("cboInternationalCode")->currentText(), "0: U.S.A");
    EXPECT_EQ(Combo("cboNational")->currentText(), "0: U.S.A");
    EXPECT_EQ(Stored("Set", "LumoType"), QString::number(r.row));
    EXPECT_EQ(Stored("Set", "Mode"), "0");
    EXPECT_TRUE(m_prompt.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryRow,
                         ::testing::Values(Row{0, 0, "101", 40, 2, 20, 7, false, false},
                                           Row{1, 1, "011", 40, 2, 20, 7, false, false},
                                           Row{2, 2, "101", 40, 2, 20, 7, false, false},
                                           Row{3, 3, "101", 40, 2, 20, 7, false, false},
                                           Row{4, 4, "111", 40, 2, 20, 7, true, false},
                                           Row{5, 5, "111", 40, 2, 20, 7, true, false},
                                           Row{6, 6, "111", 80, 4, 20, 7, true, true},
                                           Row{7, 7, "111", 80, 4, 20, 7, true, false},
                                           Row{8, 8, "101", 160, 4, 40, 3, false, false}));

TEST_F(DisplayTypeTest, RowEightOffersModeListB) {
    SelectType(8);
    EXPECT_EQ(Combo("cboMode")->itemText(0), "Mode 1 (Showing Continuously)");
    EXPECT_EQ(Combo("cboMode")->itemText(1), "Mode 2 (Horixontal Scroll)");
}

TEST_F(DisplayTypeTest, AChangeEmptiesBothMessageBoxes) {
    Start();
    Edit("txtMessage")->setText("HELLO");
    Edit("txtEPSON")->setText("WORLD");
    Combo("cboLumoType")->setCurrentIndex(6);
    EXPECT_EQ(Edit("txtMessage")->text(), "");
    EXPECT_EQ(Edit("txtEPSON")->text(), "");
}

TEST_F(DisplayTypeTest, AnUnknownRowTextIsCodeTenAndKeepsTheTabs) {
    SelectType(1); // tabs 1 unavailable, 2 and 3 available
    QComboBox* types = Combo("cboLumoType");
    types->addItem("LumoZ9 (1x8)");
    types->setCurrentIndex(types->count() - 1);
    frmMain& w = Window();
    EXPECT_EQ(w.m_iDisplayType, 10);
    ASSERT_EQ(m_prompt.entries.size(), 1u);
    EXPECT_EQ(m_prompt.entries[0].text, "cboLumoType_Click() Display type Error");
    EXPECT_EQ(m_prompt.entries[0].title, "LumoQ4 Utility");
    EXPECT_EQ(TabStates(), "011");
    EXPECT_EQ(Combo("cboRow")->count(), 0);
    EXPECT_EQ(Combo("cboColumn")->count(), 0);
    EXPECT_EQ(Edit("txtMessage")->maxLength(), 32767); // no limit
    EXPECT_EQ(Combo("cboMode")->count(), 7);
    EXPECT_FALSE(Button("cmdFirmwireUpdate")->isEnabled());
}

} // namespace
