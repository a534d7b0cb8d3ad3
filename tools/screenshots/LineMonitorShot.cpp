#include "LineMonitorShot.h"

#include "PtyDisplay.h"
#include "core/device/CLumo.h"
#include "gui/app/frmMain.h"
#include "gui/monitor/LineMonitorModel.h"
#include "gui/monitor/frmLineMonitor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

namespace {

void runEventsFor(int i_iMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < i_iMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
}

template <typename T> T* child(QWidget& i_window, const char* i_pName) {
    return i_window.findChild<T*>(QLatin1String(i_pName));
}

} // namespace

namespace LineMonitorShot {

bool Save(const QString& i_sFolder) {
    PtyDisplayOptions options;
    options.emulator.transferFaults.nakFirstBlocks = 1;
    PtyDisplay display(options);
    if (!display.IsOpen()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return false;
    }
    qputenv("LUMOQ4_COM1", display.SlavePath().toLocal8Bit());
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("firmware.bin"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    constexpr qsizetype kImageSize = 8192; // 64 blocks of 128 bytes
    file.write(QByteArray(kImageSize, '\x5A'));
    file.close();

    frmMain window;
    window.show();
    child<QPushButton>(window, "cmdLineMonitor")->click();
    auto* monitor = child<frmLineMonitor>(window, "frmLineMonitor");
    monitor->resize(980, 620);
    monitor->move(window.frameGeometry().topRight());

    child<QComboBox>(window, "cboInternationalCode")->setCurrentIndex(4);
    child<QPushButton>(window, "cmdVELT(1)")->click();
    child<QLineEdit>(window, "txtMessage")->setText(QStringLiteral("Café ouvert"));
    child<QPushButton>(window, "cmdVELT(6)")->click();
    child<QPushButton>(window, "cmdVELT(9)")->click(); // the firmware version

    CLumo& lumo = window.m_lumo();
    lumo.setFirmwareCodeType(0);
    if (lumo.FirmwareUpdateMode() != 0) {
        std::fprintf(stderr, "the loader did not answer\n");
        return false;
    }
    lumo.setCheckSumType(1);
    lumo.setFile(image);
    lumo.StartSendFile();
    runEventsFor(200 + 100 + 12 * 125);

    // The loader dialogue and the first blocks at the top, the earlier commands folded.
    monitor->chkFollow->setChecked(false);
    QTreeView* view = monitor->lvwLine;
    const QAbstractItemModel* model = view->model();
    for (int group = 0; group + 1 < model->rowCount({}); ++group) {
        view->collapse(model->index(group, 0, {}));
    }
    view->scrollToTop();
    runEventsFor(100);
    const QString path = i_sFolder + QStringLiteral("/line-monitor.png");
    const bool saved = monitor->grab().save(path);
    std::printf("%s\n", qPrintable(path));
    lumo.StopSendFile();
    runEventsFor(1500);
    lumo.Disconnect();
    return saved;
}

} // namespace LineMonitorShot
