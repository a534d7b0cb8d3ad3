#include "gui/app/DisplayPresence.h"
#include "gui/app/frmMain.h"
#include "gui/widgets/MessageBoxPrompt.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    // Qt ends with an obscure platform error when there is no screen; say it plainly instead.
    if (!DisplayPresence::Available()) {
        std::fprintf(
            stderr,
            "lumoq4-utility: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Run it on a desktop, or in a virtual one:\n"
            "    xvfb-run -a lumoq4-utility\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LumoQ4 Utility"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumoq4.png")));
    MessageBoxPrompt prompt;
    Prompt::Install(&prompt);
    frmMain window;
    window.show();
    const int code = QApplication::exec();
    Prompt::Install(nullptr);
    return code;
}
