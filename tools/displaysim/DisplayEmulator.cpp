#include "DisplayEmulator.h"

#include "DisplayCharset.h"

DisplayEmulator::DisplayEmulator() : DisplayEmulator(Options()) {}

DisplayEmulator::DisplayEmulator(const Options& i_options)
    : m_options(i_options), m_log(i_options.vt100 ? LineContext::Vt100 : LineContext::Display) {
    if (m_options.vt100) {
        m_mode = Mode::Vt100;
        m_pScreen = std::make_unique<CellScreen>(4, 20);
        m_pVt100 = std::make_unique<Vt100Terminal>(*m_pScreen, m_state, m_options.identification);
    } else {
        m_pScreen = std::make_unique<CellScreen>(2, 20);
    }
    m_pNative = std::make_unique<NativeCommandSet>(*m_pScreen, m_state, m_options.version);
    m_pEpson = std::make_unique<EpsonInterpreter>(*m_pScreen, m_state);
}

QString DisplayEmulator::ModeName() const {
    switch (m_mode) {
    case Mode::Display:
        return QStringLiteral("display");
    case Mode::Loader:
        return m_pLoader && m_pLoader->Transferring() ? QStringLiteral("loader, XModem")
                                                      : QStringLiteral("loader");
    case Mode::Vt100:
        return QStringLiteral("VT100");
    }
    return {};
}

QString DisplayEmulator::LineText(int i_iRow) const {
    return DisplayCharset::Decode(m_pScreen->Row(i_iRow));
}

bool DisplayEmulator::FullyLit(int i_iCell) const {
    return i_iCell >= 0 && i_iCell < m_pScreen->CellCount() &&
           static_cast<quint8>(Cells()[i_iCell]) == 0xB2;
}

QByteArray DisplayEmulator::ReceivedImage() const {
    if (m_pLoader && m_pLoader->Receiver()) {
        return m_pLoader->Receiver()->Image();
    }
    return m_bLastImage;
}

bool DisplayEmulator::ImageComplete() const {
    if (m_pLoader && m_pLoader->Receiver()) {
        return m_pLoader->Receiver()->CurrentState() == XModemReceiver::State::Complete;
    }
    return m_blnLastImageComplete;
}

QByteArray DisplayEmulator::Receive(const QByteArray& i_bBytes) {
    QByteArray answer;
    m_bReceived += i_bBytes;
    for (const char c : i_bBytes) {
        const auto byte = static_cast<quint8>(c);
        // Each answer goes into the journal right after the byte that caused it.
        m_log.Received(QByteArray(1, c));
        QByteArray reply;
        switch (m_mode) {
        case Mode::Display:
            reply = receiveDisplay(byte);
            break;
        case Mode::Loader:
            reply = receiveLoader(byte);
            break;
        case Mode::Vt100:
            reply = receiveVt100(byte);
            break;
        }
        if (!reply.isEmpty()) {
            m_log.Answered(reply);
            answer += reply;
        }
    }
    if (!i_bBytes.isEmpty()) {
        ++m_iRevision;
    }
    return answer;
}

QByteArray DisplayEmulator::Poll() {
    if (m_mode != Mode::Loader || !m_pLoader) {
        return {};
    }
    QByteArray request = m_pLoader->Poll();
    if (!request.isEmpty()) {
        m_log.Answered(request);
        ++m_iRevision;
    }
    return request;
}

QByteArray DisplayEmulator::receiveDisplay(quint8 i_cByte) {
    // Native frames are looked for only between EPSON sequences, so that a parameter byte
    // of 0x04 stays a parameter.
    if (!m_pEpson->Idle() && !m_frames.Busy()) {
        return interpret(i_cByte);
    }
    const NativeFrameParser::Step step = m_frames.Feed(i_cByte);
    QByteArray answer;
    for (const char c : step.passOn) {
        // ESC "Load" may end on the first of two bytes handed on; the second is the loader's.
        answer += m_mode == Mode::Display ? interpret(static_cast<quint8>(c))
                                          : receiveLoader(static_cast<quint8>(c));
    }
    if (step.frameDone) {
        answer += executeFrame(step.frame, step.overlong);
    }
    return answer;
}

QByteArray DisplayEmulator::executeFrame(const QByteArray& i_bFrame, bool i_blnOverlong) {
    if (i_blnOverlong) {
        return QByteArray("\x15", 1); // six bytes without ETB: refused
    }
    return m_pNative->Execute(i_bFrame, m_options.refuseAllFrames).answer;
}

QByteArray DisplayEmulator::interpret(quint8 i_cByte) {
    if (!m_pEpson->Feed(i_cByte).enterLoader) {
        return {};
    }
    enterLoader();
    return LoaderDialogue::EntryPrompt();
}

void DisplayEmulator::enterLoader() {
    m_mode = Mode::Loader;
    m_pLoader = std::make_unique<LoaderDialogue>(m_options.crc, m_options.transferFaults);
    showLoaderStatus();
}

QByteArray DisplayEmulator::receiveLoader(quint8 i_cByte) {
    const LoaderDialogue::Step step = m_pLoader->Feed(i_cByte);
    if (step.reboot) {
        reboot();
    } else if (step.ended) {
        showLoaderStatus();
    }
    return step.answer;
}

// The loader shows what it is doing on the tube: its name, then the block count.
void DisplayEmulator::showLoaderStatus() {
    m_pScreen->Clear();
    const auto put = [this](int i_iRow, const QByteArray& i_bText) {
        for (int c = 0; c < m_pScreen->Columns() && c < i_bText.size(); ++c) {
            m_pScreen->SetCell(i_iRow, c, static_cast<quint8>(i_bText[c]));
        }
    };
    put(0, "LOADER");
    const XModemReceiver* receiver = m_pLoader ? m_pLoader->Receiver() : nullptr;
    if (receiver != nullptr) {
        QByteArray status = "XMODEM " + QByteArray(receiver->Crc() ? "CRC" : "SUM");
        put(0, status.rightJustified(m_pScreen->Columns()).replace(0, 6, "LOADER"));
        switch (receiver->CurrentState()) {
        case XModemReceiver::State::Receiving:
            put(1, "BLOCKS " + QByteArray::number(receiver->BlocksAccepted()));
            break;
        case XModemReceiver::State::Complete:
            put(1, "DONE " + QByteArray::number(receiver->Image().size()) + " BYTES");
            break;
        case XModemReceiver::State::Cancelled:
            put(1, "CANCELLED");
            break;
        case XModemReceiver::State::Silent:
            put(1, "NO ANSWER");
            break;
        }
    } else if (m_pLoader && m_pLoader->Discarded()) {
        put(1, "CANCELLED");
    }
    m_pScreen->SetCursor(0, 0);
}

void DisplayEmulator::reboot() {
    if (m_pLoader && m_pLoader->Receiver()) {
        m_bLastImage = m_pLoader->Receiver()->Image();
        m_blnLastImageComplete =
            m_pLoader->Receiver()->CurrentState() == XModemReceiver::State::Complete;
    }
    m_pLoader.reset();
    m_mode = Mode::Display;
    ++m_iReboots;
    m_pEpson->Initialise();
}

QByteArray DisplayEmulator::receiveVt100(quint8 i_cByte) {
    return m_pVt100->Feed(i_cByte).answer;
}
