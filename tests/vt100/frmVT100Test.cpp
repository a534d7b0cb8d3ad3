#include "Vt100WindowFixture.h"
#include "support/ModalWatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
const QColor kNormal(0, 64, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlink(128, 255, 255);

QColor TitleBar() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}
} // namespace

TEST_F(Vt100WindowTest, LoadsEmptyAndSendsNothing) {
    EXPECT_EQ(window->windowTitle(), "VT100 Mode Test");
    EXPECT_EQ(Captions(0, 80), QString(80, u'.'));
    EXPECT_TRUE(MarkedCells().isEmpty());
    EXPECT_EQ(TextColour(79), kGreen);
    EXPECT_TRUE(comm->journal.isEmpty());
    auto* list = Control<QComboBox>("cboContryCode");
    ASSERT_EQ(list->count(), 13);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->itemText(0), "00 - USA");
    EXPECT_EQ(list->itemText(12), "0C - Latin America");
    EXPECT_EQ(Control<QLineEdit>("txtY")->text(), "1");
    EXPECT_EQ(Control<QLineEdit>("txtX")->text(), "1");
    EXPECT_EQ(Button(4)->text(), "Position cursor - ESC [Py;PxH");
    EXPECT_EQ(Button(9)->text(), "Get Display Message");
    EXPECT_EQ(Timer()->interval(), 500);
}

TEST_F(Vt100WindowTest, TypedKeysShowOnTheGridBeforeTheyLeave) {
    QStringList shownWhenSent;
    comm->onOutput = [&](FakeComm&, const QByteArray&) { shownWhenSent << Captions(0, 3); };
    QTest::keyClicks(Control<QWidget>("pic"), "AB");
    EXPECT_EQ(Hex(comm->Written()), "41 42");
    EXPECT_EQ(shownWhenSent, QStringList({"A..", "AB."}));
    EXPECT_EQ(Label(0)->text(), "A");
    EXPECT_EQ(Label(1)->text(), "B");
    EXPECT_EQ(MarkedCells(), QList<int>{2});
    EXPECT_EQ(Background(2), TitleBar());
    EXPECT_EQ(TextColour(2), kGreen);
    // The terminal stream leaves the port open.
    EXPECT_EQ(Journal(), "open 1 19200n,8,1 | write 41 | write 42");
}

TEST_F(Vt100WindowTest, KeyboardControlsGoThroughTheModel) {
    auto* pic = Control<QWidget>("pic");
    QTest::keyClicks(pic, "XYZ");
    QTest::keyClick(pic, Qt::Key_Backspace);
    QTest::keyClick(pic, Qt::Key_Return);
    QTest::keyClick(pic, Qt::Key_Escape); // ESC starts a sequence: the window stays open
    QTest::keyClicks(pic, "[2;5H");
    EXPECT_EQ(Hex(comm->Written()), "58 59 5A 08 0D 1B 5B 32 3B 35 48");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(MarkedCells(), QList<int>{24});
    EXPECT_EQ(Captions(0, 4), "XYZ.");
}

// Only the window's close runs its unload rules: Esc in a field outside the grid does nothing.
TEST_F(Vt100WindowTest, EscInAFieldLeavesTheWindowOpen) {
    QTest::keyClicks(Control<QWidget>("pic"), "A");
    auto* y = Control<QLineEdit>("txtY");
    y->setFocus();
    QTest::keyClick(y, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Journal(), "open 1 19200n,8,1 | write 41"); // the port was not closed
}

TEST_F(Vt100WindowTest, PositionCursorSendsTheTextOfBothFields) {
    Control<QLineEdit>("txtY")->setText("2");
    Control<QLineEdit>("txtX")->setText("15");
    Button(4)->click();
    EXPECT_EQ(Hex(comm->Written()), "1B 5B 32 3B 31 35 48");
    EXPECT_EQ(MarkedCells(), QList<int>{34});
    EXPECT_FALSE(Busy());
    EXPECT_TRUE(Control<QWidget>("pic")->isEnabled());
}

TEST_F(Vt100WindowTest, UpDownsStepTheFieldsWithinTheGrid) {
    auto* y = Control<QWidget>("UpDown1");
    auto* x = Control<QWidget>("UpDown2");
    ASSERT_NE(y, nullptr);
    ASSERT_NE(x, nullptr);
    auto arrows = [](QWidget* updown) { return updown->findChildren<QAbstractButton*>(); };
    for (int i = 0; i < 6; ++i) {
        arrows(y).first()->click();
    }
    for (int i = 0; i < 25; ++i) {
        arrows(x).first()->click();
    }
    EXPECT_EQ(Control<QLineEdit>("txtY")->text(), "4");
    EXPECT_EQ(Control<QLineEdit>("txtX")->text(), "20");
    Button(4)->click();
    EXPECT_EQ(Hex(comm->Written()), "1B 5B 34 3B 32 30 48");
    EXPECT_EQ(MarkedCells(), QList<int>{79});
}

TEST_F(Vt100WindowTest, CountryCodeGoesOnlyToTheDisplay) {
    QTest::keyClicks(Control<QWidget>("pic"), "Q");
    Control<QComboBox>("cboContryCode")->setCurrentIndex(11);
    EXPECT_EQ(Control<QComboBox>("cboContryCode")->currentText(), "0B - Spain 2");
    comm->writes.clear();
    Button(6)->click();
    EXPECT_EQ(Hex(comm->Written()), "1B 52 0B");
    EXPECT_EQ(Captions(0, 3), "Q..");
    EXPECT_EQ(MarkedCells(), QList<int>{1});
    // The model did not see ESC R either: the next key prints where the cursor was.
    comm->writes.clear();
    QTest::keyClicks(Control<QWidget>("pic"), "W");
    EXPECT_EQ(Captions(0, 3), "QW.");
}

TEST_F(Vt100WindowTest, SliderSendsBrightnessAndClosesThePort) {
    QTest::keyClicks(Control<QWidget>("pic"), "A"); // the terminal stream opened the port
    auto* slider = Control<QSlider>("Slider1");
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 3);
    comm->writes.clear();
    comm->journal.clear();
    slider->setValue(1);
    EXPECT_EQ(Hex(comm->Written()), "1B 42 32");
    EXPECT_FALSE(comm->PortOpen());
    // The first byte finds the port still open; each byte closes it after itself.
    EXPECT_EQ(Journal(), "write 1B | close | open 1 19200n,8,1 | write 42 | close | "
                         "open 1 19200n,8,1 | write 32 | close");
    comm->writes.clear();
    slider->setValue(3);
    slider->setValue(0);
    EXPECT_EQ(Hex(comm->Written()), "1B 42 30 1B 42 33");
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_FALSE(Busy());
    EXPECT_EQ(Captions(0, 2), "A."); // not through the model
}

TEST_F(Vt100WindowTest, SpecialCharactersFillTheFirstThirteenCells) {
    Button(8)->click();
    EXPECT_EQ(Hex(comm->Written()), "23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E 80");
    EXPECT_EQ(Captions(0, 14), QString::fromUtf8("#$@[\\]^`{|}~\u20AC."));
    EXPECT_EQ(MarkedCells(), QList<int>{13});
}

TEST_F(Vt100WindowTest, LineButtonsAndClearsFollowTheModel) {
    QTest::keyClicks(Control<QWidget>("pic"), "ABCDE");
    Button(1)->click(); // LF
    EXPECT_EQ(MarkedCells(), QList<int>{25});
    Button(2)->click(); // CR
    EXPECT_EQ(MarkedCells(), QList<int>{20});
    Button(0)->click(); // BS at column 0 stays
    EXPECT_EQ(MarkedCells(), QList<int>{20});
    Control<QLineEdit>("txtY")->setText("1");
    Control<QLineEdit>("txtX")->setText("3");
    Button(4)->click();
    Button(5)->click(); // ESC [0K
    EXPECT_EQ(Captions(0, 5), "AB...");
    QTest::keyClicks(Control<QWidget>("pic"), "Z");
    Button(3)->click(); // ESC [2J
    EXPECT_EQ(Captions(0, 80), QString(80, u'.'));
    EXPECT_EQ(MarkedCells(), QList<int>{3});
    EXPECT_EQ(Hex(comm->Written()), "41 42 43 44 45 0A 0D 08 1B 5B 31 3B 33 48 1B 5B 30 4B 5A "
                                    "1B 5B 32 4A");
}

TEST_F(Vt100WindowTest, FirstTickSendsBackspaceThenTheCursorBlinks) {
    Tick();
    EXPECT_EQ(Hex(comm->Written()), "08");
    EXPECT_TRUE(comm->PortOpen());
    EXPECT_EQ(MarkedCells(), QList<int>{0});
    EXPECT_EQ(Background(0), kBlink);
    Tick();
    EXPECT_TRUE(MarkedCells().isEmpty());
    Tick();
    EXPECT_EQ(Background(0), kBlink);
    EXPECT_EQ(TextColour(0), kGreen);
    EXPECT_EQ(Hex(comm->Written()), "08"); // only the first tick sends
}

TEST_F(Vt100WindowTest, BackgroundClickIsABackspace) {
    QTest::keyClicks(Control<QWidget>("pic"), "AB");
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Hex(comm->Written()), "41 42 08");
    EXPECT_EQ(MarkedCells(), QList<int>{1});
    // A click on a cell or a frame is not.
    QTest::mouseClick(Label(5), Qt::LeftButton);
    QTest::mouseClick(window->findChild<QGroupBox*>("fraPosition"), Qt::LeftButton, {},
                      QPoint(3, 3));
    EXPECT_EQ(Hex(comm->Written()), "41 42 08");
}

TEST_F(Vt100WindowTest, IdentificationBoxShowsTheFiveFields) {
    AnswerAfter("\x1b[0c", "\x1b[?1;2;3;4;5c");
    ModalWatcher box;
    bool busyWhileWaiting = false;
    clock.onIdle = [&](qint64) { busyWhileWaiting = busyWhileWaiting || Busy(); };
    Button(7)->click();
    EXPECT_EQ(Hex(comm->Written()), "1B 5B 30 63");
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].title, "LumoQ4 Utility");
    EXPECT_EQ(box.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(box.boxes[0].text, "Return Code: \x1b[?1;2;3;4;5c\r\n"
                                 "\r\n"
                                 "Type of display : 1\r\n"
                                 "PROM version : 2\r\n"
                                 "Character set : 3\r\n"
                                 "Number of lines : 4\r\n"
                                 "Column/line : 5");
    EXPECT_TRUE(busyWhileWaiting);
    EXPECT_FALSE(Busy());
    EXPECT_TRUE(MarkedCells() == QList<int>{0}); // ESC [0c changes nothing on the screen
    EXPECT_TRUE(comm->PortOpen());
}

TEST_F(Vt100WindowTest, SilentDisplayStillGetsTheBoxAfterElevenPolls) {
    ModalWatcher box;
    qint64 boxAt = 0;
    const qint64 start = clock.NowMs();
    clock.onIdle = [&](qint64 now) {
        if (box.boxes.empty()) {
            boxAt = now; // the last wait before the box
        }
    };
    Button(7)->click();
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "Return Code: \r\n\r\nType of display : \r\nPROM version : \r\n"
                                 "Character set : \r\nNumber of lines : \r\nColumn/line : ");
    // 11 polls of 200 ms, 100 ms, and the 200 ms of the read itself.
    EXPECT_GE(boxAt - start, 11 * 200 + 100 + 200);
    EXPECT_LT(boxAt - start, 12 * 200 + 100 + 200);
}

TEST_F(Vt100WindowTest, ScreenReadFillsTheGridAndTheModel) {
    QByteArray screen;
    for (int i = 0; i < 80; ++i) {
        screen.append(static_cast<char>('a' + i % 26));
    }
    QTest::keyClicks(Control<QWidget>("pic"), "XY");
    AnswerAfter("\x1b\x54", screen);
    Button(9)->click();
    EXPECT_EQ(Hex(comm->Written()), "58 59 1B 54");
    EXPECT_EQ(Captions(0, 26), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(Captions(78, 2), "ab");
    EXPECT_EQ(MarkedCells(), QList<int>{2}); // the cursor cell stays
    // The model holds the screen too: the next key redraws the grid from it.
    QTest::keyClicks(Control<QWidget>("pic"), "Z");
    EXPECT_EQ(Captions(0, 5), "abZde");
    EXPECT_EQ(Captions(75, 5), "xyzab");
}

TEST_F(Vt100WindowTest, ShortScreenReadChangesOnlyTheFirstCells) {
    QTest::keyClicks(Control<QWidget>("pic"), "ABCDEFGHIJKL");
    AnswerAfter("\x1b\x54", "0123456789");
    Button(9)->click();
    EXPECT_EQ(Captions(0, 13), "0123456789KL.");
    Button(0)->click();
    EXPECT_EQ(Captions(0, 13), "0123456789KL.");
}

TEST_F(Vt100WindowTest, ClosingDuringAReadClosesAfterTheNextWait) {
    ModalWatcher box;
    qint64 closeAt = 0;
    qint64 closedAt = 0;
    bool backgroundClickRefused = true;
    QObject::connect(window.get(), &QDialog::finished, [&] { closedAt = clock.NowMs(); });
    clock.onIdle = [&](qint64 now) {
        if (closeAt == 0 && now > 1000 + 500) {
            closeAt = now;
            QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(3, 3));
            backgroundClickRefused = comm->Written() == "\x1b[0c";
            window->close();
            EXPECT_TRUE(window->isVisible()); // refused while busy
        }
    };
    Button(7)->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(box.boxes.empty());
    EXPECT_GT(closedAt, 0);
    EXPECT_LE(closedAt - closeAt, 201);
    EXPECT_TRUE(backgroundClickRefused);
    EXPECT_FALSE(Busy());
    EXPECT_FALSE(comm->PortOpen());
    EXPECT_EQ(comm->journal.last(), "close");
}

TEST_F(Vt100WindowTest, ClosingWhenIdleClosesThePort) {
    QTest::keyClicks(Control<QWidget>("pic"), "A");
    ASSERT_TRUE(comm->PortOpen());
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(comm->PortOpen());
    EXPECT_EQ(Journal(), "open 1 19200n,8,1 | write 41 | close");
}
