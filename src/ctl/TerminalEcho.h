#pragma once

// Turns the echo of the terminal on standard input off for its lifetime (the password prompt)
// and gives it back on every way out: at the end of the scope, and in a handler of SIGINT,
// SIGTERM, SIGHUP and SIGQUIT that restores the terminal first and then does what the signal
// did before (the stop request of InterruptWatch, or the signal's default action).
class TerminalEcho {
public:
    TerminalEcho();
    ~TerminalEcho();
    TerminalEcho(const TerminalEcho&) = delete;
    TerminalEcho& operator=(const TerminalEcho&) = delete;
};
