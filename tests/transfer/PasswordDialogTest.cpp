// The service password dialog, driven as the technician would.
#include "gui/transfer/frmPassword.h"
#include "support/ModalWatcher.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Typed {
    bool ok = false;
    int result = -1;
    QString selected;
};

// Shows the dialog modally, types i_sText and presses the button (or key) i_action.
Typed RunPassword(frmPassword& io_dialog, const QString& i_sText,
                  const std::function<void(frmPassword&)>& i_action) {
    Typed out;
    QTimer::singleShot(0, &io_dialog, [&] {
        auto* text = io_dialog.findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(text, i_sText);
        i_action(io_dialog);
    });
    out.result = io_dialog.exec();
    out.ok = io_dialog.IsOK();
    return out;
}

void PressOk(frmPassword& d) {
    d.findChild<QPushButton*>("cmdCtrl(0)")->click();
}

TEST(PasswordDialog, LooksAsDesigned) {
    frmPassword dialog;
    EXPECT_EQ(dialog.windowTitle(), "Password Required");
    auto* text = dialog.findChild<QLineEdit*>("txtPassword");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.findChild<QPushButton*>("cmdCtrl(0)")->text(), "OK");
    EXPECT_TRUE(dialog.findChild<QPushButton*>("cmdCtrl(0)")->isDefault());
    EXPECT_EQ(dialog.findChild<QPushButton*>("cmdCtrl(1)")->text(), "Cancel");
    EXPECT_FALSE(dialog.IsOK());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // fixed size
}

TEST(PasswordDialog, AcceptsThePasswordInAnyCase) {
    for (const QString& typed : {QString("KQZD"), QString("kqzd"), QString("kQzD")}) {
        frmPassword dialog;
        const Typed t = RunPassword(dialog, typed, PressOk);
        EXPECT_TRUE(t.ok) << typed.toStdString();
        EXPECT_EQ(t.result, QDialog::Accepted);
    }
}

TEST(PasswordDialog, EnterPressesOk) {
    frmPassword dialog;
    const Typed t = RunPassword(dialog, "kqzd", [](frmPassword& d) {
        QTest::keyClick(d.findChild<QLineEdit*>("txtPassword"), Qt::Key_Return);
    });
    EXPECT_TRUE(t.ok);
}

TEST(PasswordDialog, TrailingSpaceIsRefusedAndTheTextSelected) {
    ModalWatcher watcher;
    frmPassword dialog;
    QString selected;
    bool stillOpen = false;
    const Typed t = RunPassword(dialog, "KQZD ", [&](frmPassword& d) {
        PressOk(d); // returns after the box was closed
        stillOpen = d.isVisible();
        selected = d.findChild<QLineEdit*>("txtPassword")->selectedText();
        d.findChild<QPushButton*>("cmdCtrl(1)")->click();
    });
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].text, "Invalid Password!");
    EXPECT_EQ(watcher.boxes[0].title, "LumoQ4 Utility");
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(selected, "KQZD ");
    EXPECT_FALSE(t.ok);
}

TEST(PasswordDialog, CancelEscAndCloseBoxLeaveItFalse) {
    {
        frmPassword dialog;
        EXPECT_FALSE(RunPassword(dialog, "KQZD", [](frmPassword& d) {
                         d.findChild<QPushButton*>("cmdCtrl(1)")->click();
                     }).ok);
    }
    {
        frmPassword dialog;
        EXPECT_FALSE(RunPassword(dialog, "KQZD", [](frmPassword& d) {
                         QTest::keyClick(&d, Qt::Key_Escape);
                     }).ok);
    }
    {
        frmPassword dialog;
        EXPECT_FALSE(RunPassword(dialog, "KQZD", [](frmPassword& d) { d.close(); }).ok);
    }
}

TEST(PasswordDialog, ShownAgainStartsFalse) {
    frmPassword dialog;
    ASSERT_TRUE(RunPassword(dialog, "KQZD", PressOk).ok);
    dialog.findChild<QLineEdit*>("txtPassword")->clear();
    EXPECT_FALSE(RunPassword(dialog, "", [](frmPassword& d) { d.close(); }).ok);
}

} // namespace
