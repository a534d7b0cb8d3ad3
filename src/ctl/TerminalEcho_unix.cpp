#include "ctl/TerminalEcho.h"

#include <array>
#include <csignal>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

termios g_saved = {};
volatile sig_atomic_t g_blnQuiet = 0;
std::array<struct sigaction, kSignals.size()> g_previous = {};

extern "C" void onSignalDuringPrompt(int i_iSignal) {
    if (g_blnQuiet != 0) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
        g_blnQuiet = 0;
    }
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (kSignals[i] != i_iSignal) {
            continue;
        }
        const struct sigaction& previous = g_previous[i];
        if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN &&
            (previous.sa_flags & SA_SIGINFO) == 0) {
            previous.sa_handler(i_iSignal);
        } else if (previous.sa_handler == SIG_DFL) {
            ::sigaction(i_iSignal, &previous, nullptr);
            ::raise(i_iSignal);
        }
    }
}

} // namespace

TerminalEcho::TerminalEcho() {
    if (::tcgetattr(STDIN_FILENO, &g_saved) != 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onSignalDuringPrompt;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    }
    termios quiet = g_saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    g_blnQuiet = 1;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
}

TerminalEcho::~TerminalEcho() {
    if (g_blnQuiet != 0) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
        g_blnQuiet = 0;
    }
    for (size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    }
}
