// lumoq4-display-sim: a simulated LumoQ4 customer display on a pseudo-terminal. The first line
// printed is the path to open as the serial port, e.g. LUMOQ4_COM1=$(that path).
#include "DisplayWindow.h"
#include "HeadlessPrinter.h"
#include "PtyDisplay.h"
#include "SimOptions.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {
void quitOnSignal(int) {
    QCoreApplication::quit();
}

// Writes the image whenever a transfer completes or the display reboots from its loader.
class ImageSaver {
public:
    explicit ImageSaver(QString i_sPath) : m_sPath(std::move(i_sPath)) {}

    void Check(const DisplayEmulator& i_emulator) {
        if (m_sPath.isEmpty()) {
            return;
        }
        const bool complete = i_emulator.ImageComplete();
        const bool saveNow =
            (complete && !m_blnSavedComplete) || i_emulator.Reboots() != m_iReboots;
        m_blnSavedComplete = complete;
        m_iReboots = i_emulator.Reboots();
        if (!saveNow) {
            return;
        }
        QFile file(m_sPath);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(i_emulator.ReceivedImage());
            std::fprintf(stderr, "image of %lld bytes written to %s\n",
                         static_cast<long long>(i_emulator.ReceivedImage().size()),
                         m_sPath.toLocal8Bit().constData());
        } else {
            std::fprintf(stderr, "cannot write %s\n", m_sPath.toLocal8Bit().constData());
        }
    }

private:
    QString m_sPath;
    bool m_blnSavedComplete = false;
    int m_iReboots = 0;
};
} // namespace

int main(int argc, char** argv) {
    // Without a window no display server is needed: the kind of application is chosen before
    // the rest of the command line is read.
    bool headless = false;
    for (int i = 1; i < argc; ++i) {
        headless = headless || std::strcmp(argv[i], "--headless") == 0 ||
                   std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
    }
    std::unique_ptr<QCoreApplication> app;
    if (headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }

    SimOptions options;
    QString error;
    bool help = false;
    if (!SimOptions::Parse(QCoreApplication::arguments(), options, error, help)) {
        std::fprintf(help ? stdout : stderr, "%s\n", error.toLocal8Bit().constData());
        return help ? 0 : 2;
    }
    std::signal(SIGINT, quitOnSignal);
    std::signal(SIGTERM, quitOnSignal);

    PtyDisplay display(options.display);
    if (!display.IsOpen()) {
        std::fprintf(stderr, "cannot open a pseudo-terminal\n");
        return 1;
    }
    if (!options.linkPath.isEmpty()) {
        const QByteArray link = options.linkPath.toLocal8Bit();
        ::unlink(link.constData());
        if (::symlink(display.SlavePath().toLocal8Bit().constData(), link.constData()) != 0) {
            std::fprintf(stderr, "cannot make the link %s\n", link.constData());
            return 1;
        }
    }
    // The link exists before the path is printed, so a script may open either at once.
    std::printf("%s\n", display.SlavePath().toLocal8Bit().constData());
    std::fflush(stdout);

    ImageSaver saver(options.saveImagePath);
    std::unique_ptr<HeadlessPrinter> printer;
    std::unique_ptr<DisplayWindow> window;
    if (options.headless) {
        printer = std::make_unique<HeadlessPrinter>(display.Emulator());
        printer->Refresh();
    } else {
        window = std::make_unique<DisplayWindow>(display);
        window->show();
    }
    // Coalesce a burst of reads into one redraw.
    QTimer redraw;
    redraw.setSingleShot(true);
    redraw.setInterval(15);
    int speedShown = display.LineSpeed();
    QObject::connect(&redraw, &QTimer::timeout, [&] {
        saver.Check(display.Emulator());
        if (display.LineSpeed() != speedShown) {
            speedShown = display.LineSpeed();
            std::fprintf(stderr, "line speed now %d baud\n", speedShown);
        }
        if (printer) {
            printer->Refresh();
        }
        if (window) {
            window->Refresh();
        }
    });
    QObject::connect(&display, &PtyDisplay::ScreenChanged, &redraw, qOverload<>(&QTimer::start));
    QObject::connect(&display, &PtyDisplay::LineClosed, &redraw, qOverload<>(&QTimer::start));
    QObject::connect(&display, &PtyDisplay::LineClosed,
                     [] { std::fprintf(stderr, "line closed (hang-up)\n"); });

    const int result = app->exec();
    if (!options.linkPath.isEmpty()) {
        ::unlink(options.linkPath.toLocal8Bit().constData());
    }
    return result;
}
