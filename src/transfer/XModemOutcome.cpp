#include "transfer/XModemOutcome.h"

bool XModemOutcome::Finished() const {
    return end != End::NotStarted && end != End::Running;
}

bool XModemOutcome::EndedEarly() const {
    return Finished() && end != End::Complete;
}

QString XModemOutcome::Text() const {
    const QString where = QStringLiteral("at block %1 of %2").arg(block).arg(blocks);
    switch (end) {
    case End::Complete:
        return QStringLiteral("Firmware Update OK!");
    case End::NoAnswer:
        return QStringLiteral("Firmware update ended early: the display stopped answering %1.")
            .arg(where);
    case End::CancelledByDisplay:
        return QStringLiteral("Firmware update ended early: the display cancelled the transfer %1.")
            .arg(where);
    case End::StoppedByUser:
        return QStringLiteral("Firmware update ended early: the transfer was stopped %1.")
            .arg(where);
    case End::NoStartRequest:
        return QStringLiteral(
            "Firmware update failed: the display never asked for the file. No block was sent.");
    case End::Abandoned:
        return QStringLiteral("Firmware update ended early %1: %2").arg(where, failure);
    case End::NotStarted:
    case End::Running:
        break;
    }
    return QString();
}
