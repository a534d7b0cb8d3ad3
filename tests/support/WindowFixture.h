#pragma once

// A main window over a scripted port, with a replaced clock, recorded message boxes and its own
// empty settings folder. Header-only, for the widget tests.

#include "core/common/AppInfo.h"
#include "core/settings/SettingsStore.h"
#include "gui/app/frmMain.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/FindChild.h"
#include "support/PortSwap.h"
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

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override { TestEnvironment::FreshSettingsFolder(); }

    void TearDown() override { m_pWindow.reset(); }

    // Stores a value before the window starts.
    static void Store(const char* i_pSection, const char* i_pKey, const QString& i_sValue) {
        SettingsStore::SaveSetting(AppInfo::Name(), QLatin1String(i_pSection),
                                   QLatin1String(i_pKey), i_sValue);
    }

    static QString Stored(const char* i_pSection, const char* i_pKey) {
        return SettingsStore::GetSetting(AppInfo::Name(), QLatin1String(i_pSection),
                                         QLatin1String(i_pKey), QStringLiteral("<missing>"));
    }

    frmMain& Start() {
        m_pWindow = std::make_unique<frmMain>();
        return *m_pWindow;
    }

    frmMain& Window() { return *m_pWindow; }

    template <typename T> T* Find(const QString& i_sName) {
        return FindChild<T>(*m_pWindow, i_sName);
    }

    QComboBox* Combo(const QString& i_sName) { return Find<QComboBox>(i_sName); }
    QPushButton* Button(const QString& i_sName) { return Find<QPushButton>(i_sName); }
    QLineEdit* Edit(const QString& i_sName) { return Find<QLineEdit>(i_sName); }
    QString Status() { return Edit(QStringLiteral("txtStatus"))->text(); }

    // Presses a button and returns the bytes it put on the line.
    QString Press(const QString& i_sName) {
        const qsizetype before = m_pComm->writes.size();
        Button(i_sName)->click();
        QByteArray sent;
        for (qsizetype i = before; i < m_pComm->writes.size(); ++i) {
            sent += m_pComm->writes[i];
        }
        return Hex(sent);
    }

    FakeClock m_clock;
    RecordingPrompt m_prompt;
    PortSwap<FakeComm> m_port;
    FakeComm* m_pComm = m_port.Port();
    std::unique_ptr<frmMain> m_pWindow;
};
