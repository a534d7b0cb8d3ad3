// The device beside the port list: lblDevice, the "Choose Device…" dialog writing and removing
// "Ports"/"COMn", and the hint after "Commport open failed." naming a device plugged in since.
#include "support/WindowFixture.h"

#include "core/ports/DeviceWatcher.h"
#include "gui/panels/SettingPanel.h"
#include "gui/panels/frmChooseDevice.h"
#include "support/FixedDeviceSource.h"
#include "support/Pty.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

namespace {

class DeviceChoice : public WindowFixture {
protected:
    DeviceChoice()
        : m_source(m_folder.path()), m_adapter(FixedDeviceSource::Adapter(m_pty.SlavePath())) {}

    QString Alias() const {
        return m_source.byIdFolder +
               QStringLiteral("/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    }

    // The adapter is plugged in: its by-id link and its entry appear, and /dev changes.
    void PlugIn() {
        m_source.Link(QFileInfo(Alias()).fileName(), m_pty.SlavePath());
        m_source.devices = {m_adapter};
        m_source.Touch();
    }

    void Unplug() {
        QFile::remove(Alias());
        m_source.devices.clear();
        m_source.Touch();
    }

    QString DeviceLabel() { return Find<QLabel>(QStringLiteral("lblDevice"))->text(); }
    DeviceWatcher& Watcher() {
        return Find<SettingPanel>(QStringLiteral("SettingPanel"))->Devices();
    }

    // Presses "Choose Device…" and runs i_act on the open dialog; a dialog still open
    // afterwards is cancelled, so that a failing test does not hang.
    void WithDialog(const std::function<void(frmChooseDevice&)>& i_act) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmChooseDevice*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            i_act(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        Button(QStringLiteral("cmdChooseDevice"))->click();
    }

    QTemporaryDir m_folder;
    FixedDeviceSource m_source;
    Pty m_pty;
    SerialDevice m_adapter;
};

TEST_F(DeviceChoice, ChoosingADeviceWritesItsStableAliasAndUseDefaultRemovesIt) {
    PlugIn();
    Start();
    WithDialog([&](frmChooseDevice& d) {
        ASSERT_EQ(d.lstDevices->topLevelItemCount(), 1);
        QTreeWidgetItem* row = d.lstDevices->topLevelItem(0);
        EXPECT_EQ(
            QStringList({row->text(0), row->text(1), row->text(2), row->text(3), row->text(4)}),
            QStringList(
                {m_pty.SlavePath(), Alias(), "FT232R USB UART (A50285BI)", "0403:6001", "free"}));
        d.lstDevices->setCurrentItem(row);
        EXPECT_EQ(d.txtDevicePath->text(), Alias());
        d.cmdOK->click();
    });
    EXPECT_EQ(Stored("Ports", "COM1"), Alias());
    EXPECT_EQ(DeviceLabel(),
              QStringLiteral("\u2192 %1 \u00b7 FT232R USB UART (A50285BI)").arg(m_pty.SlavePath()));
    EXPECT_EQ(Combo(QStringLiteral("cboComport"))->toolTip(),
              QStringLiteral("COM1 is %1 (the setting Ports/COM1)").arg(Alias()));

    WithDialog([](frmChooseDevice& d) { d.cmdUseDefault->click(); });
    EXPECT_EQ(Stored("Ports", "COM1"), "<missing>");
    EXPECT_EQ(Combo(QStringLiteral("cboComport"))->toolTip(), "COM1 is /dev/ttyS0 (the default)");
}

// A USB adapter's own names come from the device: shown as written, never as markup, with a
// control byte escaped.
TEST_F(DeviceChoice, ADevicesOwnNamesAreShownAsWrittenNeverAsMarkup) {
    m_adapter.description = QStringLiteral("<b>Till</b> UART");
    m_adapter.manufacturer = QStringLiteral("<img src=x>ACME\x1b[2J");
    const auto rendered = [](const QString& i_sTip) {
        QTextDocument document;
        if (Qt::mightBeRichText(i_sTip)) {
            document.setHtml(i_sTip);
        } else {
            document.setPlainText(i_sTip);
        }
        return document.toPlainText();
    };
    PlugIn();
    Start();
    auto* label = Find<QLabel>(QStringLiteral("lblDevice"));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    WithDialog([&](frmChooseDevice& d) {
        ASSERT_EQ(d.lstDevices->topLevelItemCount(), 1);
        EXPECT_EQ(rendered(d.lstDevices->topLevelItem(0)->toolTip(2)), "<img src=x>ACME<1B>[2J");
        d.lstDevices->setCurrentItem(d.lstDevices->topLevelItem(0));
        d.cmdOK->click();
    });
    EXPECT_EQ(
        DeviceLabel(),
        QStringLiteral("\u2192 %1 \u00b7 <b>Till</b> UART (A50285BI)").arg(m_pty.SlavePath()));
}

TEST_F(DeviceChoice, ATypedPathIsTakenOnlyWhenItIsATerminalDevice) {
    Start();
    WithDialog([&](frmChooseDevice& d) {
        d.txtDevicePath->setText(QStringLiteral("/dev/null"));
        d.cmdOK->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.lblPathCheck->text(), "/dev/null: not a terminal device");
        d.txtDevicePath->setText(m_pty.SlavePath());
        d.cmdOK->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(Stored("Ports", "COM1"), m_pty.SlavePath());
}

TEST_F(DeviceChoice, TheSystemConsoleIsChosenOnlyOnPurpose) {
    m_source.MakeConsole(m_pty.SlavePath());
    PlugIn();
    Start();
    WithDialog([&](frmChooseDevice& d) {
        EXPECT_EQ(d.lstDevices->topLevelItem(0)->text(4), "system console");
        d.lstDevices->setCurrentItem(d.lstDevices->topLevelItem(0));
        d.cmdOK->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.lblPathCheck->text().contains("is the system console"));
        d.chkConsole->setChecked(true);
        d.cmdOK->click();
    });
    EXPECT_EQ(Stored("Ports", "COM1"), Alias());
}

TEST_F(DeviceChoice, WhileTheEnvironmentSetsThePortTheDialogSaysItWins) {
    qputenv("LUMOQ4_COM1", m_pty.SlavePath().toLocal8Bit());
    Start();
    EXPECT_EQ(DeviceLabel(),
              QStringLiteral("\u2192 %1 \u00b7 set by LUMOQ4_COM1").arg(m_pty.SlavePath()));
    WithDialog([&](frmChooseDevice& d) {
        EXPECT_TRUE(d.lblEnvironment->isVisible());
        EXPECT_EQ(d.lblEnvironment->text(),
                  QStringLiteral("LUMOQ4_COM1 is set to %1: it wins over the choice made here "
                                 "for as long as it is set.")
                      .arg(m_pty.SlavePath()));
    });
    qunsetenv("LUMOQ4_COM1");
}

TEST_F(DeviceChoice, TheDeviceLabelFollowsADeviceThatComesAndGoes) {
    Store("Ports", "COM1", Alias());
    Start();
    const QString absent = QStringLiteral("\u2192 %1 (not present)").arg(Alias());
    EXPECT_EQ(DeviceLabel(), absent);
    PlugIn();
    const QString present =
        QStringLiteral("\u2192 %1 \u00b7 FT232R USB UART (A50285BI)").arg(m_pty.SlavePath());
    EXPECT_TRUE(QTest::qWaitFor([&] { return DeviceLabel() == present; }, 5000))
        << DeviceLabel().toStdString();
    Unplug();
    EXPECT_TRUE(QTest::qWaitFor([&] { return DeviceLabel() == absent; }, 5000))
        << DeviceLabel().toStdString();
}

TEST_F(DeviceChoice, AnOpenFailureNamesTheDevicePluggedInSinceStartUp) {
    Store("Ports", "COM1", m_folder.filePath(QStringLiteral("ttyUSB0")));
    Start();
    PlugIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Watcher().AppearedSinceStart().isEmpty(); }, 5000));
    m_pComm->failOpen = true;
    Press(QStringLiteral("cmdVELT(9)"));
    EXPECT_EQ(Status(), "Commport open failed.");
    const QString tip = Edit(QStringLiteral("txtStatus"))->toolTip();
    EXPECT_TRUE(tip.endsWith(
        QStringLiteral(
            "Plugged in since the program started: %1 (FT232R USB UART (A50285BI)). To use it, "
            "press "
            "\"Choose Device\u2026\" on the Setting tab and pick it for COM1, or press \"Find "
            "Display\".")
            .arg(m_pty.SlavePath())))
        << tip.toStdString();
}

} // namespace
