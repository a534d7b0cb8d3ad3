#pragma once

#include "core/serial/MSComm.h"

#include <QByteArrayList>
#include <QStringList>
#include <deque>
#include <functional>

// A scripted serial port. It keeps a journal of opens, closes and every Output call, and hands
// out queued reply bytes once the replaced clock reaches their arrival time. Faults are
// scripted too: an open that fails, or a line that goes dead at a given write.
class FakeComm : public MSComm {
public:
    void setCommPort(qint16 i_iPort) override;
    qint16 CommPort() const override { return m_iPort; }
    void setDevicePath(const QString& i_sPath) override { devicePath = i_sPath; }
    void setSettings(const QString& i_sSettings) override;
    QString Settings() const override { return m_sSettings; }
    void setPortOpen(bool i_blnOpen) override;
    bool PortOpen() const override { return m_blnOpen; }
    int InBufferCount() override;
    QByteArray Input() override;
    void Output(const QByteArray& i_bData) override;

    // Bytes that arrive i_lDelayMs after now (by the installed clock).
    void Queue(const QByteArray& i_bBytes, qint64 i_lDelayMs = 0);

    // Answers each Output call whose bytes start with EOT SOH (a native frame) with i_bReply.
    void AnswerFrames(const QByteArray& i_bReply, qint64 i_lDelayMs = 0);

    // Every byte written, in order.
    QByteArray Written() const;

    // Called after each Output with its bytes; may queue replies.
    std::function<void(FakeComm&, const QByteArray&)> onOutput;

    // The device the next openings use instead of the port number's; the journal names it.
    QString devicePath;

    // Journal: "open 1 19200n,8,1" ("open /dev/ttyUSB0 19200n,8,1" with a device path),
    // "close", "write 04 01 49 34 17".
    QStringList journal;
    QByteArrayList writes;
    int opens = 0;
    int closes = 0;

    // Faults.
    bool failOpen = false;
    QString openFailure = QStringLiteral("/dev/ttyS0: No such file or directory");
    int deadAtWrite = -1;       // the Output call (0-based) at which the line goes dead
    bool deadAfterOpen = false; // reads fail as soon as the port is open
    QString closeFailure;       // a close that gave up on queued bytes throws WriteFailed with it

private:
    struct Pending {
        qint64 at;
        QByteArray bytes;
    };
    void requireOpen() const;
    void release();

    bool m_blnOpen = false;
    qint16 m_iPort = 0;
    QString m_sSettings;
    std::deque<Pending> m_pending;
    QByteArray m_bArrived;
};

// "04 01 49 34 17": the hexadecimal form tests compare against.
QString Hex(const QByteArray& i_bBytes);
