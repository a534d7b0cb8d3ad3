#include "ctl/InterruptWatch.h"

#include <QMetaObject>

#include <windows.h>

namespace {

// The numbers of the POSIX signals that the console's events stand for, so that the exit
// statuses are the same as on Linux: Ctrl+C and Ctrl+Break 2, closing the console 1, logoff
// and shutdown 15.
constexpr int kInterrupt = 2;
constexpr int kHangup = 1;
constexpr int kTerminate = 15;

InterruptWatch* g_pWatch = nullptr;

// Windows calls this on a thread of its own: the stop is recorded at once and the watch woken
// through its event loop.
BOOL WINAPI onConsoleEvent(DWORD i_type) {
    const int signal = i_type == CTRL_C_EVENT || i_type == CTRL_BREAK_EVENT ? kInterrupt
                       : i_type == CTRL_CLOSE_EVENT                         ? kHangup
                                                                            : kTerminate;
    InterruptWatch::Note(signal);
    if (g_pWatch != nullptr) {
        QMetaObject::invokeMethod(g_pWatch, "onWake", Qt::QueuedConnection);
    }
    return TRUE;
}

} // namespace

InterruptWatch::InterruptWatch(QObject* i_pParent) : QObject(i_pParent) {
    g_pWatch = this;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptWatch::~InterruptWatch() {
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    g_pWatch = nullptr;
}
