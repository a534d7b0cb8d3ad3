// Saves a picture of each tab of the main window and of the device dialog of COM1, for the
// README and for reviewing the layout:
//   lumoq4-screenshots OUTPUT_FOLDER
// It runs on any Qt platform (offscreen included) and talks to no port; the device dialog lists
// this machine's serial devices, which discovery reads without opening any. With --line-monitor
// it saves instead the Line Monitor during a firmware update to a simulated display on a
// pseudo-terminal (line-monitor.png).

#include "LineMonitorShot.h"
#include "gui/app/frmMain.h"
#include "gui/panels/SettingPanel.h"
#include "gui/panels/frmChooseDevice.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    if (argc > 2 && qstrcmp(argv[2], "--line-monitor") == 0) {
        return LineMonitorShot::Save(folder) ? 0 : 1;
    }
    frmMain window;
    window.show();
    const char* names[] = {"setting", "velt", "epson", "ascii"};
    for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
        window.SSTab1->setCurrentIndex(tab);
        QApplication::processEvents();
        const QString file =
            QStringLiteral("%1/main-%2.png").arg(folder, QLatin1String(names[tab]));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    window.SSTab1->setCurrentIndex(0);
    auto* setting = window.findChild<SettingPanel*>();
    frmChooseDevice dialog(1, setting->Devices(), &window);
    dialog.show();
    if (dialog.lstDevices->topLevelItemCount() > 0) {
        dialog.lstDevices->setCurrentItem(dialog.lstDevices->topLevelItem(0));
    }
    QApplication::processEvents();
    const QString file = QStringLiteral("%1/device-dialog.png").arg(folder);
    if (!dialog.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
