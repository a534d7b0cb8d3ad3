// Saves a picture of each tab of the main window, for the README and for reviewing the layout:
//   lumoq4-screenshots OUTPUT_FOLDER
// It runs on any Qt platform (offscreen included) and talks to no port. With --line-monitor it
// saves instead the Line Monitor during a firmware update to a simulated display on a
// pseudo-terminal (line-monitor.png).

#include "LineMonitorShot.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
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
    return 0;
}
