#pragma once

#include <QObject>

class QSocketNotifier;

// A stop from outside turned into a stop request and a Qt signal. On Linux these are SIGINT,
// SIGTERM and SIGHUP (Ctrl+C, and what timeout, systemd and Ansible send): the handler records
// the signal, requests the stop that every wait of the session sees (modLumo::RequestStop) and
// writes a byte into a pipe; a socket notifier on the pipe's other end wakes the wait that
// idles now and emits interrupted() from the event loop. On Windows the console's Ctrl+C,
// Ctrl+Break and close events do the same through a console control handler. Requested() can
// be asked at any time.
class InterruptWatch : public QObject {
    Q_OBJECT

public:
    explicit InterruptWatch(QObject* i_pParent = nullptr);
    ~InterruptWatch() override;

    static bool Requested();
    // 128 and the number of the signal that arrived first: 130, 143 or 129.
    static int ExitStatus();
    // Called by the platform's handler: the first signal is kept, the session told to stop.
    // Safe inside a signal handler.
    static void Note(int i_iSignal);

signals:
    void interrupted();

private:
    // From the event loop, once a stop arrived.
    Q_INVOKABLE void onWake();

    QSocketNotifier* m_pNotifier = nullptr;
};
