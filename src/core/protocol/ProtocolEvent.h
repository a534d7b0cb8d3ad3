#pragma once

#include <QByteArray>
#include <QtGlobal>

// Which way bytes travel: written by the program to the display, or sent by the display.
enum class LineDirection : quint8 { ToDisplay, FromDisplay };

// What a stretch of the line is, as ProtocolDecoder places it.
enum class EventKind : quint8 {
    NativeFrame,         // EOT SOH letter [p1 [p2]] ETB
    Acknowledge,         // ACK from the display (a native frame or an XModem block)
    NegativeAcknowledge, // NAK from the display
    MessageReply,        // SOH, the cells, a closing byte: the answer to "T"
    VersionReply,        // the answer to "V"
    Text,                // plain text, as the display's cells hold it
    Cells,               // 0xB2 bytes: cells with every dot lit
    Epson,               // an EPSON control byte or sequence
    PassThrough,         // bytes the display hands to its aux device (printer)
    LoaderCommand,       // ESC "Load", a loader line ("XA", "PX", "ZX") or ESC "R" CR
    LoaderPrompt,        // what the loader says, up to its ">"
    XModemStart,         // the receiver's start request: "C" (CRC) or NAK (checksum)
    XModemBlock,         // SOH, number, complement, 128 data bytes, checksum or CRC
    XModemEnd,           // EOT after the last block
    Cancel,              // CAN in a transfer
    Vt100,               // a VT100 control byte or escape sequence
    Identification,      // the VT100 display's answer to ESC [0c
    ScreenReadBack,      // the VT100 display's cells, its answer to ESC T
    Unknown,             // bytes that fit nothing
};

// One decoded stretch of the line: its bytes, what they are, and details of the kind.
struct ProtocolEvent {
    enum Flag : quint8 {
        Crc = 1,        // a block or start request of the CRC-16 kind
        BadNumber = 2,  // a block whose number and complement do not add up to 0xFF
        BadCheck = 4,   // a block whose checksum or CRC is wrong
        Incomplete = 8, // the bytes ended before the event did
        Malformed = 16, // a native frame without its closing ETB
    };

    LineDirection direction = LineDirection::ToDisplay;
    EventKind kind = EventKind::Unknown;
    quint8 flags = 0;
    QByteArray bytes;
    // The caller's tag of the piece that held the first byte.
    quint64 tag = 0;

    bool Has(Flag i_flag) const { return (flags & i_flag) != 0; }

    // The same event, whatever piece its bytes came in.
    bool SameAs(const ProtocolEvent& i_other) const {
        return direction == i_other.direction && kind == i_other.kind && flags == i_other.flags &&
               bytes == i_other.bytes;
    }
};
