#pragma once

#include "pty/PtyPair.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <functional>
#include <memory>

// The tests' pseudo-terminal: a raw pair (the program opens the slave path with the real serial
// backend, the test plays the display on the master side) that can also answer from the event
// loop and remembers what it received there.
class Pty : public PtyPair {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool IsValid() const { return IsOpen(); }

    // Calls i_handler from the event loop with every chunk the program writes. The program
    // processes events while it waits, so a handler can answer a running command.
    void OnData(std::function<void(const QByteArray&)> i_handler);

    // Everything received by the OnData handler so far.
    QByteArray Received() const { return m_bReceived; }

    // Hangs the line up: the program's side sees the peer gone.
    void HangUp();

private:
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    std::function<void(const QByteArray&)> m_handler;
    QByteArray m_bReceived;
};
