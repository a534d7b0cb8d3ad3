#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <memory>

// A pseudo-terminal pair in raw mode. The program opens the slave path with the real serial
// backend; the test plays the display on the master side. The test keeps its own slave
// descriptor open, so that reads on the master never fail while the program has the port
// closed.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool IsValid() const { return m_iMaster >= 0; }
    QString SlavePath() const { return m_sSlavePath; }
    int MasterFd() const { return m_iMaster; }

    // Writes to the program.
    void Write(const QByteArray& i_bBytes);

    // Whatever the program wrote and is waiting, without blocking.
    QByteArray ReadAvailable();

    // Reads until i_iCount bytes have come or i_iTimeoutMs passed (blocking, no event loop).
    QByteArray ReadFor(int i_iTimeoutMs, int i_iCount = 1 << 30);

    // Calls i_handler from the event loop with every chunk the program writes. The program
    // processes events while it waits, so a handler can answer a running command.
    void OnData(std::function<void(const QByteArray&)> i_handler);

    // Everything received by the OnData handler so far.
    QByteArray Received() const { return m_bReceived; }

    // Hangs the line up: the program's side sees the peer gone.
    void HangUp();

private:
    int m_iMaster = -1;
    int m_iSlave = -1;
    QString m_sSlavePath;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    std::function<void(const QByteArray&)> m_handler;
    QByteArray m_bReceived;
};
