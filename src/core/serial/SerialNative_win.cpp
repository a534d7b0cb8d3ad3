#include "core/serial/SerialNative.h"

#include <windows.h>

namespace {

HANDLE handleOf(const QSerialPort& i_port) {
    return reinterpret_cast<HANDLE>(i_port.handle());
}

char parityLetter(BYTE i_parity) {
    switch (i_parity) {
    case ODDPARITY:
        return 'o';
    case EVENPARITY:
        return 'e';
    case MARKPARITY:
        return 'm';
    case SPACEPARITY:
        return 's';
    default:
        return 'n';
    }
}

} // namespace

namespace SerialNative {

// Qt starts a read only when WaitCommEvent reports a received character, which Wine never
// does on a pseudo-terminal; with no limit set again, a read stays in flight at all times.
void AfterOpen(QSerialPort& io_port) {
    io_port.setReadBufferSize(0);
}

bool NotApplied(const QSerialPort& i_port, const SerialSettings& i_wanted, QStringList& o_missing,
                QString& o_sError) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetCommState(handleOf(i_port), &dcb) == 0) {
        o_sError = QStringLiteral("error %1").arg(::GetLastError());
        return false;
    }
    o_missing.clear();
    if (dcb.BaudRate != static_cast<DWORD>(i_wanted.baudRate)) {
        o_missing << QStringLiteral("%1 baud (the port runs at %2)")
                         .arg(i_wanted.baudRate)
                         .arg(dcb.BaudRate);
    }
    if (dcb.ByteSize != i_wanted.dataBits) {
        o_missing << QStringLiteral("%1 data bits (the port has %2)")
                         .arg(i_wanted.dataBits)
                         .arg(dcb.ByteSize);
    }
    if (parityLetter(dcb.Parity) != i_wanted.parity) {
        o_missing << QStringLiteral("parity %1 (the port has %2)")
                         .arg(QChar::fromLatin1(i_wanted.parity))
                         .arg(QChar::fromLatin1(parityLetter(dcb.Parity)));
    }
    const int stops = dcb.StopBits == TWOSTOPBITS ? 2 : dcb.StopBits == ONE5STOPBITS ? 3 : 1;
    if (stops != i_wanted.stopBits) {
        o_missing
            << QStringLiteral("stop bits %1 (the port has %2)").arg(i_wanted.stopBits).arg(stops);
    }
    return true;
}

qint64 QueuedInSystem(const QSerialPort& i_port) {
    COMSTAT status{};
    DWORD errors = 0;
    if (i_port.isOpen() && ::ClearCommError(handleOf(i_port), &errors, &status) != 0) {
        return status.cbOutQue;
    }
    return 0;
}

void DiscardOutput(const QSerialPort& i_port) {
    ::PurgeComm(handleOf(i_port), PURGE_TXABORT | PURGE_TXCLEAR);
}

// A port that another program holds fails with "Access is denied"; OpenFailureAdvice explains
// it to the technician.
QString OpenFailure(const QString& i_sPath, const QSerialPort& i_port) {
    Q_UNUSED(i_sPath);
    Q_UNUSED(i_port);
    return QString();
}

} // namespace SerialNative
