#pragma once

#include "core/protocol/LineContext.h"

#include <QByteArray>
#include <QString>

// What the program asks of its serial-port component. Every failing member throws LumoError.
//
// Opening is always setCommPort, then setSettings, then setPortOpen(true). The settings text is
// the baud-rate digits followed by the framing, for example "19200n,8,1" or "4800o,7,1".
class MSComm {
public:
    virtual ~MSComm() = default;

    virtual void setCommPort(qint16 i_iPort) = 0;
    virtual qint16 CommPort() const = 0;

    // A device that the next openings use instead of the one CommPort leads to (Find Display
    // tries devices that no port number leads to yet); empty for CommPort's device again.
    virtual void setDevicePath(const QString& i_sPath) = 0;

    virtual void setSettings(const QString& i_sSettings) = 0;
    virtual QString Settings() const = 0;

    virtual void setPortOpen(bool i_blnOpen) = 0;
    virtual bool PortOpen() const = 0;

    // Bytes received and waiting, including those that reached the operating system but were
    // not yet picked up by an event-loop pass.
    virtual int InBufferCount() = 0;

    // Every waiting byte, oldest first; the receive buffer is empty afterwards.
    virtual QByteArray Input() = 0;

    // Queues all bytes for sending, in order, and returns without waiting for them to leave
    // the line. Closing the port waits for them (within a bound).
    virtual void Output(const QByteArray& i_bData) = 0;

    // What the caller knows of the display's mode, for the record of the line (the line
    // monitor decodes the bytes that follow with it). A component without a record ignores it.
    virtual void NoteContext(LineContext i_context) { Q_UNUSED(i_context); }
};
