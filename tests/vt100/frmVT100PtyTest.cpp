// The VT100 window against the display simulator in VT100 mode, over a real pseudo-terminal
// and the real serial backend.

#include "PtyDisplay.h"
#include "core/common/Cp1252.h"
#include "core/device/CLumo.h"
#include "core/protocol/modLumo.h"
#include "gui/vt100/frmVT100.h"
#include "support/FindChild.h"
#include "support/ModalWatcher.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Vt100PtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        PtyDisplayOptions options;
        options.emulator.vt100 = true;
        display = std::make_unique<PtyDisplay>(options);
        ASSERT_TRUE(display->IsOpen());
        qputenv("LUMOQ4_COM1", display->SlavePath().toLocal8Bit());
        lumo.setCommPort(1);
        lumo.setBaudRate(QStringLiteral("19200"));
        lumo.setParity(QStringLiteral("NONE"));
        window = std::make_unique<frmVT100>(lumo);
        Control<QTimer>("Timer1")->stop();
        window->show();
    }

    void TearDown() override {
        if (window && window->isVisible()) {
            window->close();
        }
        window.reset();
        qunsetenv("LUMOQ4_COM1");
    }

    template <typename T> T* Control(const QString& i_sName) const {
        return FindChild<T>(*window, i_sName);
    }
    QPushButton* Button(int i_iIndex) const {
        return Control<QPushButton>(QStringLiteral("cmdCtrl(%1)").arg(i_iIndex));
    }
    void Type(const char* i_sKeys) { QTest::keyClicks(Control<QWidget>("pic"), i_sKeys); }

    // Runs the event loop until the display has taken i_iCount bytes (or 3 s passed).
    void UntilReceived(qsizetype i_iCount) {
        QElapsedTimer timer;
        timer.start();
        while (display->Received().size() < i_iCount && timer.elapsed() < 3000) {
            modLumo::WaitMilliseconds(5);
        }
    }

    // The grid as the window shows it, an empty cell as a blank.
    QString Grid() const {
        QString out;
        for (int i = 0; i < 80; ++i) {
            const QString caption = Control<QLabel>(QStringLiteral("lbl(%1)").arg(i))->text();
            out += caption.isEmpty() ? QStringLiteral(" ") : caption;
        }
        return out;
    }

    // The one cell drawn in another colour than the normal background.
    int CursorCell() const {
        for (int i = 0; i < 80; ++i) {
            const QColor background = Control<QLabel>(QStringLiteral("lbl(%1)").arg(i))
                                          ->palette()
                                          .color(QPalette::Window);
            if (background != QColor(0, 64, 0)) {
                return i;
            }
        }
        return -1;
    }

    QString DisplayGrid() const { return Cp1252::Decode(display->Emulator().Cells()); }

    std::unique_ptr<PtyDisplay> display;
    CLumo lumo;
    std::unique_ptr<frmVT100> window;
};

} // namespace

TEST_F(Vt100PtyTest, GridFollowsTheDisplayKeyByKey) {
    Type("Hi");
    Control<QLineEdit>("txtY")->setText("3");
    Control<QLineEdit>("txtX")->setText("18");
    Button(4)->click();
    Type("XYZW");
    Button(8)->click();
    Button(1)->click();
    Button(0)->click();
    UntilReceived(2 + 7 + 4 + 13 + 2);
    EXPECT_EQ(display->Received().toHex(' ').toUpper(),
              "48 69 1B 5B 33 3B 31 38 48 58 59 5A 57 23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E 80 0A "
              "08");
    EXPECT_EQ(Grid(), DisplayGrid());
    EXPECT_EQ(CursorCell(),
              display->Emulator().CursorRow() * 20 + display->Emulator().CursorColumn());
}

TEST_F(Vt100PtyTest, CountryCodeAndBrightnessReachTheDisplay) {
    Type("A");
    Control<QComboBox>("cboContryCode")->setCurrentIndex(11);
    Button(6)->click();
    Control<QSlider>("Slider1")->setValue(1);
    UntilReceived(1 + 3 + 3);
    EXPECT_EQ(display->Received().toHex(' ').toUpper(), "41 1B 52 0B 1B 42 32");
    EXPECT_EQ(display->Emulator().State().countryCode, 11);
    EXPECT_EQ(display->Emulator().State().brightness, 2);
    EXPECT_EQ(Grid().left(3), "A  ");
}

TEST_F(Vt100PtyTest, ScreenReadCopiesWhatTheDisplayShows) {
    Type("HELLO");
    UntilReceived(5);
    // Something else changes the display behind the window's back.
    display->Emulator().Receive("\x1b[2;3HWORLD");
    Button(9)->click();
    EXPECT_EQ(Grid(), DisplayGrid());
    EXPECT_EQ(Grid().mid(20, 8), "  WORLD ");
    // The model took the screen too: the next key redraws the grid from it.
    Type("!");
    EXPECT_EQ(Grid().left(6), "HELLO!");
    EXPECT_EQ(Grid().mid(20, 8), "  WORLD ");
}

TEST_F(Vt100PtyTest, IdentificationOfTheDisplay) {
    ModalWatcher watcher;
    Button(7)->click();
    EXPECT_EQ(watcher.Texts(),
              QStringList{"Return Code: \x1b[?1;2;3;4;5c\r\n\r\nType of display : 1\r\nPROM "
                          "version : 2\r\nCharacter set : 3\r\nNumber of lines : 4\r\nColumn/line "
                          ": 5"});
    window->close();
    EXPECT_FALSE(window->isVisible());
}
