#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT turned into a Qt signal: the handler only sets a flag and writes a byte into a pipe,
// and a socket notifier on the pipe's other end emits interrupted() from the event loop
// (every wait of the program runs it). Requested() can be asked at any time.
class InterruptWatch : public QObject {
    Q_OBJECT

public:
    explicit InterruptWatch(QObject* i_pParent = nullptr);
    ~InterruptWatch() override;

    static bool Requested();

signals:
    void interrupted();

private:
    void onPipe();

    QSocketNotifier* m_pNotifier = nullptr;
};
