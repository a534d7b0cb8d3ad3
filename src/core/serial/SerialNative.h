#pragma once

#include "core/serial/SerialSettings.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>

// The calls of the serial component that only the operating system's own interface offers:
// termios and ioctl on Linux, the Comm functions of the Win32 API on Windows.
namespace SerialNative {

// Tunes a port that has just opened (on Windows a read stays in flight, so that received
// bytes reach the program without waiting for a notification Wine never gives).
void AfterOpen(QSerialPort& io_port);

// Reads the line settings back from the driver: what of i_wanted it did not apply, one entry
// per setting ("7 data bits (the port has 8)"). False when they cannot be read, with the
// reason in o_sError.
bool NotApplied(const QSerialPort& i_port, const SerialSettings& i_wanted, QStringList& o_missing,
                QString& o_sError);

// The bytes the driver holds that have not left on the line yet.
qint64 QueuedInSystem(const QSerialPort& i_port);

// Throws away what the driver still holds to send.
void DiscardOutput(const QSerialPort& i_port);

// Why opening i_sPath failed as the system tells it; empty when it tells nothing beyond the
// serial library's own text.
QString OpenFailure(const QString& i_sPath, const QSerialPort& i_port);

} // namespace SerialNative
