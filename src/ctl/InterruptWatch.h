#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, and what timeout, systemd and Ansible send) turned into a
// stop request and a Qt signal: the handler records the signal, requests the stop that every
// wait of the session sees (modLumo::RequestStop) and writes a byte into a pipe; a socket
// notifier on the pipe's other end wakes the wait that idles now and emits interrupted() from
// the event loop. Requested() can be asked at any time.
class InterruptWatch : public QObject {
    Q_OBJECT

public:
    explicit InterruptWatch(QObject* i_pParent = nullptr);
    ~InterruptWatch() override;

    static bool Requested();
    // 128 and the number of the signal that arrived first: 130, 143 or 129.
    static int ExitStatus();

signals:
    void interrupted();

private:
    void onPipe();

    QSocketNotifier* m_pNotifier = nullptr;
};
