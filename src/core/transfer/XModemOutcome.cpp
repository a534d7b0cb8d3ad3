#include "core/transfer/XModemOutcome.h"

bool XModemOutcome::Finished() const {
    return end != End::NotStarted && end != End::Running;
}

bool XModemOutcome::EndedEarly() const {
    return Finished() && end != End::Complete;
}

QString XModemOutcome::otherCheck() const {
    // The captions of the firmware dialog's "Using Protocol:" list.
    switch (block == 0 ? askedCheckSumType : -1) {
    case 0:
        return QStringLiteral(
            " The display asks for XModem checksum; choose \"XModem - Checksum\".");
    case 1:
        return QStringLiteral(" The display asks for XModem CRC; choose \"XModem - CRC\".");
    default:
        return QString();
    }
}

QString XModemOutcome::Text() const {
    // Every run that ended early closed with XModem's abort: the display keeps its old image
    // and waits in its loader.
    const QString again =
        QStringLiteral(" The display stays in its loader; the file can be sent again.");
    const QString where = block > 0 ? QStringLiteral("at block %1 of %2").arg(block).arg(blocks)
                                    : QStringLiteral("before the first block");
    switch (end) {
    case End::Complete:
        return QStringLiteral("Firmware Update OK!");
    case End::NoAnswer:
        return QStringLiteral("Firmware update ended early: the display stopped answering %1.")
                   .arg(where) +
               again;
    case End::CancelledByDisplay:
        return QStringLiteral("Firmware update ended early: the display cancelled the transfer %1.")
                   .arg(where) +
               again;
    case End::StoppedByUser:
        return QStringLiteral("Firmware update ended early: the transfer was stopped %1.")
                   .arg(where) +
               otherCheck() + again;
    case End::NoStartRequest:
        if (!otherCheck().isEmpty()) {
            return QStringLiteral("Firmware update failed: the display asked for the file with "
                                  "the other check. No block was sent.") +
                   otherCheck() + again;
        }
        return QStringLiteral(
                   "Firmware update failed: the display never asked for the file. No block was "
                   "sent.") +
               again;
    case End::Abandoned: {
        QString reason = failure;
        if (!reason.endsWith(QLatin1Char('.'))) {
            reason += QLatin1Char('.');
        }
        return QStringLiteral("Firmware update ended early %1: %2").arg(where, reason) + again;
    }
    case End::NotStarted:
    case End::Running:
        break;
    }
    return QString();
}
