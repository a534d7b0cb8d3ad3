#pragma once

// The whole program against the simulated display: the real main window with the real serial
// backend on the slave side of a pseudo-terminal, the display simulator on the master side, and
// the real clock. Every wait of the program runs the event loop, so the simulator answers
// inside it.

#include "PtyDisplay.h"
#include "core/device/CLumo.h"
#include "gui/app/frmMain.h"
#include "support/FindChild.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

class E2EFixture : public ::testing::Test {
protected:
    void SetUp() override { TestEnvironment::FreshSettingsFolder(); }

    void TearDown() override {
        if (m_pWindow) {
            // A transfer leaves the port open for the program's lifetime; the next test has
            // another line.
            m_pWindow->m_lumo().Disconnect();
        }
        m_pWindow.reset();
        qunsetenv("LUMOQ4_COM1");
    }

    // Attaches a simulated display to COM1 and starts the program.
    void Start(const PtyDisplayOptions& i_options = PtyDisplayOptions()) {
        Attach(i_options);
        m_pWindow = std::make_unique<frmMain>();
        m_pWindow->show();
    }

    // A fresh simulated display on COM1 (the program opens the port per command).
    void Attach(const PtyDisplayOptions& i_options = PtyDisplayOptions()) {
        m_pDisplay = std::make_unique<PtyDisplay>(i_options);
        ASSERT_TRUE(m_pDisplay->IsOpen());
        qputenv("LUMOQ4_COM1", m_pDisplay->SlavePath().toLocal8Bit());
    }

    DisplayEmulator& Display() { return m_pDisplay->Emulator(); }
    frmMain& Window() { return *m_pWindow; }

    template <typename T> T* Find(const QString& i_sName) {
        return FindChild<T>(*m_pWindow, i_sName);
    }
    QComboBox* Combo(const QString& i_sName) { return Find<QComboBox>(i_sName); }
    QLineEdit* Edit(const QString& i_sName) { return Find<QLineEdit>(i_sName); }
    QString Status() { return Edit(QStringLiteral("txtStatus"))->text(); }
    QString Line(int i_iRow) { return Display().LineText(i_iRow); }

    void Press(const QString& i_sName) { Find<QPushButton>(i_sName)->click(); }

    // The window takes the next command: tabs enabled, normal pointer.
    void ExpectUsable() {
        EXPECT_FALSE(m_pWindow->Busy());
        EXPECT_TRUE(m_pWindow->SSTab1->isEnabled());
        EXPECT_TRUE(Find<QPushButton>(QStringLiteral("cmdExit"))->isEnabled());
    }

    RecordingPrompt m_prompt;
    std::unique_ptr<PtyDisplay> m_pDisplay;
    std::unique_ptr<frmMain> m_pWindow;
};
