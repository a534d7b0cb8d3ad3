#pragma once

#include "support/FakeComm.h"

#include <QByteArray>
#include <QList>
#include <functional>

// Plays the XModem receiver over a FakeComm: it puts each block's three writes back together,
// notes the clock time of every write, and answers each complete block with the bytes its
// script returns for that block write (0-based count of block writes, repeats included).
class ScriptedReceiver {
public:
    explicit ScriptedReceiver(FakeComm& i_comm);

    // Default answer: ACK at once.
    std::function<QByteArray(int)> answer;

    // Called with each write before it is answered.
    std::function<void(const QByteArray&)> onWrite;

    QList<QByteArray> blocks; // header + data + trailer of each block write
    QList<qint64> blockTimes; // clock time of each block's header write
    QList<QByteArray> others; // writes outside a block (EOT, ESC, "R" CR)
    QList<qint64> otherTimes;

private:
    QByteArray m_bPartial;
    int m_iStage = 0;
};
