#pragma once

#include "core/protocol/PendingEvent.h"

// The bytes the program writes to the display's firmware loader: the loader's lines ("XA" CR,
// then "PX" or "ZX" CR LF), which switch it to an XModem transfer, then the transfer's blocks,
// EOT and CAN, and the loader's two escapes, ESC "Load" (start again) and ESC "R" CR (reboot
// into the new image). A line ends with its CR; an LF right after it belongs to the line. CAN
// from the program aborts the transfer: the loader drops it and waits for ESC "Load" again.
//
// Whether blocks carry a checksum or a CRC comes from the receiver's start request, or from
// the caller; while neither has told, a block ends after one trailer byte when that byte is
// its checksum, and after two otherwise.
class LoaderStreamParser {
public:
    enum class Check { Unknown, Checksum, Crc };

    void Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void EndRuns(ProtocolEvents& o_events);
    void Flush(ProtocolEvents& o_events);

    // The loader starts afresh: its lines, no transfer.
    void Reset();
    // The transfer has begun, with blocks of the given kind (Unknown: as the start request
    // says).
    void BeginTransfer(Check i_check, ProtocolEvents& o_events);
    // The receiver asked for the transfer; the first request tells the kind of blocks.
    void NoteStartRequest(bool i_blnCrc);

    bool Transferring() const { return m_blnTransfer; }
    bool BlockSent() const { return m_blnBlockSent; }

    static QByteArray LoadCommand() { return QByteArrayLiteral("\x1BLoad"); }
    static QByteArray RebootCommand() { return QByteArrayLiteral("\x1BR\r"); }

private:
    void feedEscape(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void feedBlock(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void feedLine(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void feedFresh(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void endBlock(bool i_blnCrc, ProtocolEvents& o_events);
    void endLine(ProtocolEvents& o_events);
    void single(EventKind i_kind, quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);

    PendingEvent m_sequence; // an escape, a block or a line
    PendingEvent m_run;      // bytes that fit nothing
    bool m_blnLineDone = false;
    bool m_blnTransfer = false;
    bool m_blnBlockSent = false;
    Check m_check = Check::Unknown;
};
