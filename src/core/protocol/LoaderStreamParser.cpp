#include "core/protocol/LoaderStreamParser.h"

#include "core/protocol/modLumo.h"

namespace {
constexpr quint8 kSoh = 0x01;
constexpr quint8 kEot = 0x04;
constexpr quint8 kLf = 0x0A;
constexpr quint8 kCr = 0x0D;
constexpr quint8 kCan = 0x18;
constexpr quint8 kEsc = 0x1B;
constexpr int kChecksumBlock = 132; // SOH, number, complement, 128 data bytes, checksum
constexpr int kCrcBlock = 133;
constexpr int kLongestLine = 64;
constexpr LineDirection kOut = LineDirection::ToDisplay;

bool imageLine(const QByteArray& i_bLine) {
    const QByteArray command = i_bLine.trimmed();
    return command == "PX" || command == "ZX";
}
} // namespace

void LoaderStreamParser::Reset() {
    m_blnLineDone = false;
    m_blnTransfer = false;
    m_blnBlockSent = false;
    m_check = Check::Unknown;
}

void LoaderStreamParser::BeginTransfer(Check i_check, ProtocolEvents& o_events) {
    if (m_blnLineDone) {
        endLine(o_events);
    } else if (!m_sequence.Empty() && m_sequence.Kind() == EventKind::LoaderCommand &&
               m_sequence.At(0) != kEsc) {
        // A line cut short by the transfer's start.
        m_run.End(kOut, o_events);
        m_sequence.EndAs(EventKind::Unknown, kOut, o_events, ProtocolEvent::Incomplete);
    }
    if (!m_blnTransfer) {
        m_blnTransfer = true;
        m_blnBlockSent = false;
    }
    if (i_check != Check::Unknown) {
        m_check = i_check;
    }
}

void LoaderStreamParser::NoteStartRequest(bool i_blnCrc) {
    if (m_check == Check::Unknown) {
        m_check = i_blnCrc ? Check::Crc : Check::Checksum;
    }
}

void LoaderStreamParser::Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (m_blnLineDone) {
        if (i_cByte == kLf) {
            m_sequence.Append(EventKind::LoaderCommand, i_cByte, i_lTag);
            endLine(o_events);
            return;
        }
        endLine(o_events);
    }
    if (m_sequence.Empty()) {
        feedFresh(i_cByte, i_lTag, o_events);
    } else if (m_sequence.Kind() == EventKind::XModemBlock) {
        feedBlock(i_cByte, i_lTag, o_events);
    } else if (m_sequence.At(0) == kEsc) {
        feedEscape(i_cByte, i_lTag, o_events);
    } else {
        feedLine(i_cByte, i_lTag, o_events);
    }
}

void LoaderStreamParser::feedFresh(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    if (i_cByte == kEsc) {
        m_sequence.Append(EventKind::LoaderCommand, i_cByte, i_lTag);
    } else if (i_cByte == kLf && !m_blnBlockSent) {
        // The end of a loader line that the display answered at its CR.
        single(EventKind::LoaderCommand, i_cByte, i_lTag, o_events);
    } else if (i_cByte == kCan) {
        // The sender's abort: the loader drops what it has and waits for ESC "Load" again.
        single(EventKind::Cancel, i_cByte, i_lTag, o_events);
        m_blnTransfer = false;
    } else if (!m_blnTransfer) {
        feedLine(i_cByte, i_lTag, o_events);
    } else if (i_cByte == kSoh) {
        m_sequence.Append(EventKind::XModemBlock, i_cByte, i_lTag);
    } else if (i_cByte == kEot) {
        single(EventKind::XModemEnd, i_cByte, i_lTag, o_events);
    } else {
        m_run.AddToRun(EventKind::Unknown, i_cByte, i_lTag, kLongestUnknownRun, kOut, o_events);
    }
}

void LoaderStreamParser::single(EventKind i_kind, quint8 i_cByte, quint64 i_lTag,
                                ProtocolEvents& o_events) {
    m_run.End(kOut, o_events);
    m_sequence.Append(i_kind, i_cByte, i_lTag);
    m_sequence.End(kOut, o_events);
}

void LoaderStreamParser::feedEscape(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    m_sequence.Append(EventKind::LoaderCommand, i_cByte, i_lTag);
    const QByteArray& bytes = m_sequence.Bytes();
    const bool load = bytes == LoadCommand();
    if (load || bytes == RebootCommand()) {
        m_run.End(kOut, o_events);
        m_sequence.End(kOut, o_events);
        if (load) {
            Reset();
        }
    } else if (!LoadCommand().startsWith(bytes) && !RebootCommand().startsWith(bytes)) {
        m_run.End(kOut, o_events);
        m_sequence.EndAs(EventKind::Unknown, kOut, o_events);
    }
}

void LoaderStreamParser::feedLine(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    m_sequence.Append(EventKind::LoaderCommand, i_cByte, i_lTag);
    if (i_cByte == kCr) {
        m_blnLineDone = true;
        if (imageLine(m_sequence.Bytes().chopped(1))) {
            m_blnTransfer = true;
            m_blnBlockSent = false;
        }
    } else if (m_sequence.Size() >= kLongestLine) {
        m_run.End(kOut, o_events);
        m_sequence.EndAs(EventKind::Unknown, kOut, o_events);
    }
}

void LoaderStreamParser::endLine(ProtocolEvents& o_events) {
    m_blnLineDone = false;
    const QByteArray command = m_sequence.Bytes().trimmed();
    const bool known = command == "XA" || command == "PX" || command == "ZX";
    m_run.End(kOut, o_events);
    m_sequence.EndAs(known ? EventKind::LoaderCommand : EventKind::Unknown, kOut, o_events);
}

void LoaderStreamParser::feedBlock(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events) {
    m_sequence.Append(EventKind::XModemBlock, i_cByte, i_lTag);
    if (m_sequence.Size() == kChecksumBlock) {
        const bool checksumRight =
            m_sequence.At(kChecksumBlock - 1) ==
            modLumo::GetCheckSum(m_sequence.Bytes().mid(3, kChecksumBlock - 4));
        if (m_check == Check::Checksum || (m_check == Check::Unknown && checksumRight)) {
            endBlock(false, o_events);
        }
    } else if (m_sequence.Size() == kCrcBlock) {
        endBlock(true, o_events);
    }
}

void LoaderStreamParser::endBlock(bool i_blnCrc, ProtocolEvents& o_events) {
    const QByteArray& block = m_sequence.Bytes();
    const QByteArray data = block.mid(3, 128);
    quint8 flags = i_blnCrc ? ProtocolEvent::Crc : 0;
    if (static_cast<quint8>(m_sequence.At(1) + m_sequence.At(2)) != 0xFF) {
        flags |= ProtocolEvent::BadNumber;
    }
    bool checkRight = false;
    if (i_blnCrc) {
        const qint32 crc = modLumo::GetCRC16(data);
        checkRight =
            m_sequence.At(131) == ((crc >> 8) & 0xFF) && m_sequence.At(132) == (crc & 0xFF);
    } else {
        checkRight = m_sequence.At(131) == modLumo::GetCheckSum(data);
    }
    if (!checkRight) {
        flags |= ProtocolEvent::BadCheck;
    }
    m_blnBlockSent = true;
    m_run.End(kOut, o_events);
    m_sequence.EndAs(EventKind::XModemBlock, kOut, o_events, flags);
}

void LoaderStreamParser::EndRuns(ProtocolEvents& o_events) {
    m_run.End(kOut, o_events);
    if (m_blnLineDone) {
        endLine(o_events);
    }
}

void LoaderStreamParser::Flush(ProtocolEvents& o_events) {
    EndRuns(o_events);
    if (!m_sequence.Empty()) {
        m_sequence.EndAs(EventKind::Unknown, kOut, o_events, ProtocolEvent::Incomplete);
    }
}
