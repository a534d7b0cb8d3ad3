#include "ctl/TerminalEcho.h"

#include <windows.h>

namespace {

DWORD g_savedMode = 0;
bool g_blnQuiet = false;

HANDLE input() {
    return ::GetStdHandle(STD_INPUT_HANDLE);
}

} // namespace

// The console gives its echo back by itself when the program ends; Ctrl+C is InterruptWatch's.
TerminalEcho::TerminalEcho() {
    if (::GetConsoleMode(input(), &g_savedMode) == 0) {
        return;
    }
    g_blnQuiet =
        ::SetConsoleMode(input(), g_savedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
}

TerminalEcho::~TerminalEcho() {
    if (g_blnQuiet) {
        ::SetConsoleMode(input(), g_savedMode);
        g_blnQuiet = false;
    }
}
