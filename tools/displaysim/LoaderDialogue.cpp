#include "LoaderDialogue.h"

namespace {
constexpr quint8 kEsc = 0x1B;
constexpr quint8 kCan = 0x18;
const QByteArray kLoad("\x1bLoad");
const QByteArray kReboot("\x1bR\r");
const QByteArray kXaPrompt("\r\nXModem ready\r\n>");
const QByteArray kUnknownPrompt("\r\n?\r\n>");
} // namespace

LoaderDialogue::LoaderDialogue(bool i_blnCrc, const XModemReceiver::Faults& i_faults)
    : m_blnCrc(i_blnCrc), m_faults(i_faults) {}

QByteArray LoaderDialogue::EntryPrompt() {
    return QByteArray("\r\nLumoQ4 loader\r\n>");
}

QByteArray LoaderDialogue::Poll() const {
    if (m_pReceiver && m_pReceiver->WantsStart()) {
        return m_pReceiver->StartRequest();
    }
    return {};
}

LoaderDialogue::Step LoaderDialogue::Feed(quint8 i_cByte) {
    const bool midBlock = m_pReceiver && m_pReceiver->MidBlock();
    if (!midBlock && (!m_bEscape.isEmpty() || i_cByte == kEsc)) {
        return feedEscape(i_cByte);
    }
    if (m_pReceiver && !midBlock && i_cByte == kCan) {
        return discardTransfer();
    }
    if (m_pReceiver) {
        const XModemReceiver::Step step = m_pReceiver->Feed(i_cByte);
        return {step.answer, step.meaning, step.bytes, false};
    }
    if (i_cByte == kCan && m_bLine.isEmpty()) {
        // The second CAN of the sender's abort, or a stray one: nothing to cancel.
        return {{}, QStringLiteral("loader: CAN, nothing to cancel"), QByteArray(1, '\x18'), false};
    }
    return feedLine(i_cByte);
}

LoaderDialogue::Step LoaderDialogue::discardTransfer() {
    const int blocks = m_pReceiver->BlocksAccepted();
    m_pReceiver.reset();
    m_blnAccepting = false;
    m_blnDiscarded = true;
    return {{},
            QStringLiteral("loader: CAN from the sender, %1 blocks discarded; waiting for ESC "
                           "\"Load\" again")
                .arg(blocks),
            QByteArray(1, '\x18'),
            false};
}

LoaderDialogue::Step LoaderDialogue::feedEscape(quint8 i_cByte) {
    m_bEscape.append(static_cast<char>(i_cByte));
    const bool maybeLoad = !m_pReceiver && kLoad.startsWith(m_bEscape);
    const bool maybeReboot = kReboot.startsWith(m_bEscape);
    if (m_bEscape == kReboot) {
        Step step{{}, QStringLiteral("reboot into the new image (ESC \"R\" CR)"), m_bEscape, true};
        m_bEscape.clear();
        return step;
    }
    if (m_bEscape == kLoad) {
        m_bLine.clear();
        m_blnAccepting = false;
        Step step{EntryPrompt(), QStringLiteral("loader: ESC \"Load\", prompt"), m_bEscape, false};
        m_bEscape.clear();
        return step;
    }
    if (maybeLoad || maybeReboot) {
        return {};
    }
    Step step{{}, QStringLiteral("loader: ignored escape sequence"), m_bEscape, false};
    m_bEscape.clear();
    return step;
}

LoaderDialogue::Step LoaderDialogue::feedLine(quint8 i_cByte) {
    if (i_cByte == '\n' && m_bLine.isEmpty()) {
        return {{}, QStringLiteral("loader: LF"), QByteArray(1, '\n'), false};
    }
    m_bLine.append(static_cast<char>(i_cByte));
    if (i_cByte != '\r') {
        return {};
    }
    return runLine();
}

LoaderDialogue::Step LoaderDialogue::runLine() {
    const QByteArray line = m_bLine;
    const QByteArray command = line.trimmed();
    m_bLine.clear();
    if (command == "XA") {
        m_blnAccepting = true;
        return {kXaPrompt, QStringLiteral("loader: \"XA\", prompt"), line, false};
    }
    if ((command == "PX" || command == "ZX") && m_blnAccepting) {
        m_cImageKind = command[0];
        m_blnDiscarded = false;
        m_pReceiver = std::make_unique<XModemReceiver>(m_blnCrc, m_faults);
        const QString kind =
            m_cImageKind == 'P' ? QStringLiteral("encrypted") : QStringLiteral("plain");
        return {m_pReceiver->StartRequest(),
                QStringLiteral("loader: \"%1\", receive %2 image by XModem-%3")
                    .arg(QString::fromLatin1(command), kind,
                         m_blnCrc ? QStringLiteral("CRC") : QStringLiteral("checksum")),
                line, false};
    }
    return {kUnknownPrompt,
            QStringLiteral("loader: line \"%1\" not understood").arg(QString::fromLatin1(command)),
            line, false};
}
