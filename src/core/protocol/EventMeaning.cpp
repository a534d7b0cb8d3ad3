#include "core/protocol/EventMeaning.h"

#include "core/protocol/DisplayText.h"
#include "core/protocol/EpsonWords.h"
#include "core/protocol/NativeWords.h"
#include "core/protocol/Vt100Words.h"

namespace {

// The text with its trailing blanks left out (a message or screen fills every cell).
QString trimmedText(const QByteArray& i_bBytes) {
    QByteArray text = i_bBytes;
    while (text.endsWith(' ')) {
        text.chop(1);
    }
    return DisplayText::Quoted(text);
}

QString cutShort(const ProtocolEvent& i_event, const QString& i_sWords) {
    return i_event.Has(ProtocolEvent::Incomplete) ? i_sWords + QStringLiteral(" (cut short)")
                                                  : i_sWords;
}

QString loaderCommand(const QByteArray& i_bBytes) {
    if (i_bBytes == "\x1BLoad") {
        return QStringLiteral("ESC \"Load\" enter the loader");
    }
    if (i_bBytes == "\x1BR\r") {
        return QStringLiteral("ESC \"R\" CR reboot into the new image");
    }
    if (i_bBytes == "\n") {
        return QStringLiteral("LF, the end of the loader line");
    }
    const QByteArray command = i_bBytes.trimmed();
    if (command == "XA") {
        return QStringLiteral("\"XA\" get ready for XModem");
    }
    if (command == "PX") {
        return QStringLiteral("\"PX\" receive an encrypted image");
    }
    return QStringLiteral("\"ZX\" receive a plain image");
}

// The loader's words without their line breaks: "LumoQ4 loader >".
QString prompt(const QByteArray& i_bBytes) {
    QByteArray text = i_bBytes;
    for (char& c : text) {
        if (static_cast<quint8>(c) < 0x20) {
            c = ' ';
        }
    }
    return QStringLiteral("loader prompt ") + DisplayText::Quoted(text.simplified());
}

QString block(const ProtocolEvent& i_event) {
    const auto number = static_cast<quint8>(i_event.bytes.at(1));
    QString words = QStringLiteral("block %1").arg(number);
    if (i_event.Has(ProtocolEvent::BadNumber)) {
        words += QStringLiteral(", complement %1 does not match")
                     .arg(DisplayText::Hex(i_event.bytes.mid(2, 1)));
    }
    words +=
        i_event.Has(ProtocolEvent::Crc) ? QStringLiteral(", CRC") : QStringLiteral(", checksum");
    words +=
        i_event.Has(ProtocolEvent::BadCheck) ? QStringLiteral(" wrong") : QStringLiteral(" right");
    return words;
}

} // namespace

namespace EventMeaning {

QString Of(const ProtocolEvent& i_event) {
    const QByteArray& bytes = i_event.bytes;
    switch (i_event.kind) {
    case EventKind::NativeFrame:
        return NativeWords::Frame(bytes, i_event.Has(ProtocolEvent::Malformed));
    case EventKind::Acknowledge:
        return QStringLiteral("ACK");
    case EventKind::NegativeAcknowledge:
        return QStringLiteral("NAK");
    case EventKind::MessageReply:
        return cutShort(i_event, QStringLiteral("message ") +
                                     trimmedText(i_event.Has(ProtocolEvent::Incomplete)
                                                     ? bytes.mid(1)
                                                     : bytes.mid(1, bytes.size() - 2)));
    case EventKind::VersionReply:
        return QStringLiteral("version ") + DisplayText::Quoted(bytes);
    case EventKind::Text:
        return QStringLiteral("text ") + DisplayText::Quoted(bytes);
    case EventKind::Cells:
        return bytes.size() == 1 ? QStringLiteral("1 cell fully lit")
                                 : QStringLiteral("%1 cells fully lit").arg(bytes.size());
    case EventKind::Epson:
        return EpsonWords::Sequence(bytes);
    case EventKind::PassThrough:
        return QStringLiteral("to the aux device ") + DisplayText::Quoted(bytes);
    case EventKind::LoaderCommand:
        return loaderCommand(bytes);
    case EventKind::LoaderPrompt:
        return cutShort(i_event, prompt(bytes));
    case EventKind::XModemStart:
        return i_event.Has(ProtocolEvent::Crc) ? QStringLiteral("start request, CRC")
                                               : QStringLiteral("start request, checksum");
    case EventKind::XModemBlock:
        return block(i_event);
    case EventKind::XModemEnd:
        return QStringLiteral("EOT end of transmission");
    case EventKind::Cancel:
        return QStringLiteral("CAN cancel");
    case EventKind::Vt100:
        return Vt100Words::Sequence(bytes);
    case EventKind::Identification:
        return cutShort(i_event, Vt100Words::Identification(bytes));
    case EventKind::ScreenReadBack:
        return cutShort(i_event, QStringLiteral("screen ") + trimmedText(bytes));
    case EventKind::Unknown:
        break;
    }
    return i_event.Has(ProtocolEvent::Incomplete) ? QStringLiteral("incomplete")
                                                  : QStringLiteral("unknown");
}

bool StandsOut(const ProtocolEvent& i_event) {
    switch (i_event.kind) {
    case EventKind::NegativeAcknowledge:
    case EventKind::Cancel:
    case EventKind::Unknown:
        return true;
    case EventKind::XModemBlock:
        return i_event.Has(ProtocolEvent::BadNumber) || i_event.Has(ProtocolEvent::BadCheck);
    case EventKind::NativeFrame:
        return i_event.Has(ProtocolEvent::Malformed);
    default:
        return false;
    }
}

} // namespace EventMeaning
