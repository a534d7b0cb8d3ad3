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
        return {step.answer, step.ended, false};
    }
    if (i_cByte == kCan && m_bLine.isEmpty()) {
        // The second CAN of the sender's abort, or a stray one: nothing to cancel.
        return {{}, true, false};
    }
    return feedLine(i_cByte);
}

LoaderDialogue::Step LoaderDialogue::discardTransfer() {
    m_pReceiver.reset();
    m_blnAccepting = false;
    m_blnDiscarded = true;
    return {{}, true, false};
}

LoaderDialogue::Step LoaderDialogue::feedEscape(quint8 i_cByte) {
    m_bEscape.append(static_cast<char>(i_cByte));
    const bool maybeLoad = !m_pReceiver && kLoad.startsWith(m_bEscape);
    const bool maybeReboot = kReboot.startsWith(m_bEscape);
    if (m_bEscape == kReboot) {
        m_bEscape.clear();
        return {{}, true, true};
    }
    if (m_bEscape == kLoad) {
        m_bLine.clear();
        m_blnAccepting = false;
        m_bEscape.clear();
        return {EntryPrompt(), true, false};
    }
    if (maybeLoad || maybeReboot) {
        return {};
    }
    m_bEscape.clear(); // an escape the loader does not know is ignored
    return {{}, true, false};
}

LoaderDialogue::Step LoaderDialogue::feedLine(quint8 i_cByte) {
    if (i_cByte == '\n' && m_bLine.isEmpty()) {
        return {{}, true, false}; // the LF after a CR
    }
    m_bLine.append(static_cast<char>(i_cByte));
    if (i_cByte != '\r') {
        return {};
    }
    return runLine();
}

LoaderDialogue::Step LoaderDialogue::runLine() {
    const QByteArray command = m_bLine.trimmed();
    m_bLine.clear();
    if (command == "XA") {
        m_blnAccepting = true;
        return {kXaPrompt, true, false};
    }
    if ((command == "PX" || command == "ZX") && m_blnAccepting) {
        m_cImageKind = command[0];
        m_blnDiscarded = false;
        m_pReceiver = std::make_unique<XModemReceiver>(m_blnCrc, m_faults);
        return {m_pReceiver->StartRequest(), true, false};
    }
    return {kUnknownPrompt, true, false};
}
