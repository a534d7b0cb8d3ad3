#pragma once

#include "XModemReceiver.h"

#include <QByteArray>
#include <memory>

// The display's loader: entered with ESC "Load" (answered with a prompt), it takes "XA" CR
// (another prompt), then "PX" CR LF (encrypted image) or "ZX" CR LF (plain image) and
// receives the image by XModem. ESC "R" CR reboots into the new image. CAN from the sender
// outside a block ends the transfer: the part received is dropped and the loader waits for
// ESC "Load" again, so that the file can be sent anew.
class LoaderDialogue {
public:
    struct Step {
        QByteArray answer;
        // Set when a command, a line, a block or EOT has ended.
        bool ended = false;
        bool reboot = false;
    };

    LoaderDialogue(bool i_blnCrc, const XModemReceiver::Faults& i_faults);

    // The prompt that answers ESC "Load".
    static QByteArray EntryPrompt();

    Step Feed(quint8 i_cByte);

    // Called about once a second: the receiver's repeated start request until the first block.
    QByteArray Poll() const;

    bool Transferring() const { return m_pReceiver != nullptr; }
    const XModemReceiver* Receiver() const { return m_pReceiver.get(); }
    // 'P' (encrypted) or 'Z' (plain) once a transfer has been asked for.
    char ImageKind() const { return m_cImageKind; }
    // True from a transfer the sender cancelled until the next one begins.
    bool Discarded() const { return m_blnDiscarded; }

private:
    Step discardTransfer();
    Step feedEscape(quint8 i_cByte);
    Step feedLine(quint8 i_cByte);
    Step runLine();

    bool m_blnCrc;
    XModemReceiver::Faults m_faults;
    std::unique_ptr<XModemReceiver> m_pReceiver;
    QByteArray m_bLine;
    QByteArray m_bEscape;
    bool m_blnAccepting = false;
    bool m_blnDiscarded = false;
    char m_cImageKind = 0;
};
