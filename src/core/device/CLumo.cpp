#include "core/device/CLumo.h"

#include "core/common/AppInfo.h"
#include "core/common/Cp1252.h"
#include "core/common/LumoError.h"
#include "core/common/LumoStatus.h"
#include "core/common/NumberText.h"
#include "core/common/Prompt.h"
#include "core/device/frmCLumo.h"
#include "core/protocol/NativeFrames.h"
#include "core/protocol/modLumo.h"
#include "core/serial/MSComm.h"
#include "core/serial/SerialSettings.h"

using namespace LumoStatus;

CLumo::CLumo() : m_host(&frmCLumo::Instance()) {
    modLumo::BuildCharacterTable();
}

MSComm& CLumo::m_comm() const {
    return m_host->MSComm1();
}

// --- Port ---------------------------------------------------------------------------------

int CLumo::Connect() {
    MSComm& comm = m_comm();
    if (comm.PortOpen()) {
        return AlreadyConnected;
    }
    try {
        if (m_CommPort < -32768 || m_CommPort > 32767) {
            throw LumoError(LumoErrorNumber::InvalidPortNumber,
                            QStringLiteral("Invalid port number %1").arg(m_CommPort));
        }
        comm.setCommPort(static_cast<qint16>(m_CommPort));
        comm.setSettings(m_sBaudRate + m_sParity);
        comm.setPortOpen(true);
    } catch (const LumoError& e) {
        m_host->setLastOpenFailure(e.description());
        return OpenFailed;
    }
    m_host->setLastOpenFailure(QString());
    return Success;
}

int CLumo::Disconnect() {
    if (!m_comm().PortOpen()) {
        return NotConnected;
    }
    // A port that fails to close is closed as far as the session is concerned.
    ClosePort();
    return Success;
}

int CLumo::Exchange(PortAfter i_after, const std::function<int(int)>& i_exchange) {
    m_host->setLastCloseFailure(QString());
    const int connected = Connect();
    if (connected == OpenFailed) {
        return OpenFailed;
    }
    int status = NotConnected;
    try {
        // The component may have closed itself while opening (a line that died at once).
        if (m_comm().PortOpen()) {
            status = i_exchange(connected);
        }
    } catch (const LumoError&) {
        ClosePort(); // the fault already decided the status
        status = NotConnected;
    }
    // Closing waits for the line to take what the command wrote; bytes it had to discard mean
    // the command did not reach the display.
    if (i_after == PortAfter::Closed && !ClosePort()) {
        status = NotConnected;
    }
    return status;
}

bool CLumo::AwaitAnswer(int i_iWaitMs, int i_iMaxCount) {
    MSComm& comm = m_comm();
    for (int count = 0;;) {
        if (comm.InBufferCount() > 0) {
            return true;
        }
        modLumo::WaitMilliseconds(i_iWaitMs);
        if (++count > i_iMaxCount) {
            return false;
        }
        modLumo::ProcessEvents();
    }
}

bool CLumo::ClosePort() {
    try {
        if (m_comm().PortOpen()) {
            m_comm().setPortOpen(false);
        }
        return true;
    } catch (const LumoError& e) {
        m_host->setLastCloseFailure(e.description()); // how many bytes were lost, and why
        return false;
    }
}

int CLumo::InBufferCount() {
    int count = 0;
    Exchange(PortAfter::Open, [this, &count](int) {
        count = m_comm().InBufferCount();
        return Success;
    });
    return count;
}

// --- Properties ---------------------------------------------------------------------------

QString CLumo::Settings() const {
    return m_sSettings;
}

void CLumo::setSettings(const QString& i_sSettings) {
    m_sSettings = i_sSettings;
}

qint32 CLumo::CommPort() const {
    return m_CommPort;
}

void CLumo::setCommPort(qint32 i_CommPort) {
    m_CommPort = i_CommPort;
}

QString CLumo::BaudRate() const {
    return m_sBaudRate;
}

void CLumo::setBaudRate(const QString& i_sBaudRate) {
    m_sBaudRate = i_sBaudRate;
}

QString CLumo::Parity() const {
    return m_sParity;
}

void CLumo::setParity(const QString& i_sParity) {
    if (const std::optional<QString> framing = SerialSettings::FramingOf(i_sParity)) {
        m_sParity = *framing;
    }
}

// --- Errors -------------------------------------------------------------------------------

void CLumo::ErrorDescription(qint32 i_lResult, QString& o_sMessage) const {
    switch (i_lResult) {
    case AlreadyConnected:
        o_sMessage = QStringLiteral("Device is already connected.");
        break;
    case OpenFailed:
        o_sMessage = QStringLiteral("Commport open failed.");
        break;
    case NotConnected:
        o_sMessage = QStringLiteral("Device is not connected.");
        break;
    case NoResponse:
        o_sMessage = QStringLiteral("Device does not respond.");
        break;
    case InvalidBaudRate:
        o_sMessage = QStringLiteral("Invalid Baud Rate");
        break;
    case Nack:
        o_sMessage = QStringLiteral("Get Nack");
        break;
    case InvalidParameter:
        o_sMessage = QStringLiteral("Invalid parameter.");
        break;
    default:
        o_sMessage = QStringLiteral("Unknown error code.");
        break;
    }
}

void CLumo::ShowErrorDescription(qint32 i_lResult) {
    QString message;
    ErrorDescription(i_lResult, message);
    Prompt::Current().Show(Prompt::Icon::Error, AppInfo::Name(), message);
}

// --- Native command exchange --------------------------------------------------------------

int CLumo::SendCommandFrame(const QByteArray& frame) {
    MSComm& comm = m_comm();
    comm.Input(); // a late answer to an earlier command must not count for this one
    comm.Output(frame);
    if (!AwaitAnswer(50, 15)) {
        return NoResponse;
    }
    return NativeFrames::AcknowledgementStatus(comm.Input()); // read at once, no settling wait
}

int CLumo::RunConfigurationCommand(const std::function<int(QByteArray&)>& i_buildFrame) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        QByteArray frame;
        const int status = i_buildFrame(frame);
        return status == Success ? SendCommandFrame(frame) : status;
    });
}

namespace {

// One-parameter frame builder: InvalidParameter when the byte would leave 0..255.
std::function<int(QByteArray&)> frameWith(char letter, int base,
                                          std::initializer_list<double> values) {
    std::vector<double> params(values);
    return [letter, base, params](QByteArray& frame) {
        std::vector<quint8> bytes;
        for (const double v : params) {
            const std::optional<quint8> b = NativeFrames::ParameterByte(v, base);
            if (!b) {
                return InvalidParameter;
            }
            bytes.push_back(*b);
        }
        frame = bytes.size() == 1 ? NativeFrames::Frame(letter, {bytes[0]})
                                  : NativeFrames::Frame(letter, {bytes[0], bytes[1]});
        return Success;
    };
}

} // namespace

int CLumo::SetBaudRate(const QString& i_sBaudRate, const QString& i_sParity) {
    return RunConfigurationCommand([&](QByteArray& frame) {
        const std::optional<char> baud = NativeFrames::BaudRateCode(i_sBaudRate);
        const std::optional<char> parity =
            baud ? NativeFrames::ParityCode(i_sParity) : std::nullopt;
        if (!baud || !parity) {
            return InvalidBaudRate;
        }
        frame =
            NativeFrames::Frame('B', {static_cast<quint8>(*baud), static_cast<quint8>(*parity)});
        return Success;
    });
}

int CLumo::SetInternationalCode(qint16 i_iCodeIndex) {
    return RunConfigurationCommand(frameWith('I', 0x30, {double(i_iCodeIndex)}));
}

int CLumo::SaveMessage(qint16 i_iLayer) {
    return RunConfigurationCommand(frameWith('S', 0x30, {double(i_iLayer)}));
}

int CLumo::SetPosition(qint16 i_iPosition) {
    return RunConfigurationCommand(frameWith('P', 0x30, {double(i_iPosition)}));
}

int CLumo::ClearDisplay(double i_iStart, double i_iEnd) {
    return RunConfigurationCommand(frameWith('C', 0x30, {i_iStart, i_iEnd}));
}

int CLumo::DisplayShowSavedMessageAfterRebootMode(double i_iLayer) {
    return RunConfigurationCommand(frameWith('O', 0x30, {i_iLayer}));
}

int CLumo::DisplayDemoMessage(double i_iLayer, double i_iMode) {
    return RunConfigurationCommand(frameWith('D', 0x31, {i_iLayer, i_iMode}));
}

int CLumo::SendEscapePair(char i_cSecond) {
    m_comm().NoteContext(LineContext::Display);
    // The switches answer with Connect's own result: -1 when the port had been left open.
    return Exchange(PortAfter::Closed, [&](int i_iConnected) {
        m_comm().Output(QByteArray("\x1B").append(i_cSecond));
        return i_iConnected;
    });
}

int CLumo::PrinterOn() {
    return SendEscapePair('G');
}

int CLumo::PrinterOff() {
    return SendEscapePair('S');
}

// --- Message send -------------------------------------------------------------------------

void CLumo::TranslateCharacters(QByteArray& io_bData) const {
    for (char& c : io_bData) {
        c = static_cast<char>(modLumo::CharacterTable[static_cast<quint8>(c)]);
    }
}

QByteArray CLumo::EncodeText(const QString& i_sText) const {
    QByteArray bytes = Cp1252::Encode(i_sText);
    TranslateCharacters(bytes);
    return bytes;
}

void CLumo::WritePaced(const QByteArray& i_bData) {
    MSComm& comm = m_comm();
    const double baud = NumberText::LeadingNumber(comm.Settings().trimmed());
    if (baud < 9600) {
        // Below 9600 baud the display takes one byte per write.
        for (const char c : i_bData) {
            comm.Output(QByteArray(1, c));
        }
    } else {
        comm.Output(i_bData);
    }
}

int CLumo::SendMessage(const QString& i_sMessage) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        WritePaced(EncodeText(i_sMessage));
        return Success;
    });
}

int CLumo::SendMessageB(quint8 i_bMessage) {
    return Exchange(PortAfter::Closed, [&](int) {
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
        return Success;
    });
}

int CLumo::SendMessageStringAndByte(const QString& i_sMessage, quint8 i_bMessage) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        m_comm().Output(EncodeText(i_sMessage)); // one write whatever the baud rate
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
        return Success;
    });
}

int CLumo::SendMessageByteArray(const QByteArray& bMessage) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        WritePaced(bMessage); // nothing waiting is drained first
        if (!AwaitAnswer(1, 30)) {
            return NoResponse;
        }
        return NativeFrames::AcknowledgementStatus(m_comm().Input());
    });
}

int CLumo::FullyLightTube(qint16 i_SendStringLen) {
    return SendBytes(QByteArray(std::max<int>(0, i_SendStringLen), '\xB2'));
}

int CLumo::SendBytes(const QByteArray& i_bBytes) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        WritePaced(i_bBytes);
        return Success;
    });
}

int CLumo::SendMessageB_VT100(quint8 i_bMessage) {
    m_comm().NoteContext(LineContext::Vt100);
    // The VT100 window keeps the port open between keys; an open port is used as it is.
    return Exchange(PortAfter::Open, [&](int) {
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
        return Success;
    });
}

// --- Queries ------------------------------------------------------------------------------

int CLumo::Query(const QByteArray& i_bFrame, int i_iSettleMs, int i_iIdleMs, int i_iMaxCount,
                 const std::function<int(const QByteArray&)>& i_accept) {
    m_comm().NoteContext(LineContext::Display);
    return Exchange(PortAfter::Closed, [&](int) {
        MSComm& comm = m_comm();
        comm.Input();
        comm.Output(i_bFrame);
        if (!AwaitAnswer(i_iIdleMs, i_iMaxCount)) {
            return NoResponse;
        }
        modLumo::WaitMilliseconds(i_iSettleMs); // let the whole reply arrive
        return i_accept(comm.Input());
    });
}

int CLumo::GetMessage(QString& o_sMessage) {
    return Query(NativeFrames::Frame('T'), 500, 200, 15, [&](const QByteArray& reply) {
        QByteArray text;
        const int status = NativeFrames::ParseMessageReply(reply, text);
        if (status == Success) {
            o_sMessage = Cp1252::Decode(text);
        }
        return status;
    });
}

int CLumo::GetVersion(QString& o_sVersion) {
    return Query(NativeFrames::Frame('V'), NativeFrames::VersionSettleMs,
                 NativeFrames::VersionIdleMs, NativeFrames::VersionMaxCount,
                 [&](const QByteArray& reply) {
                     QByteArray text;
                     const int status = NativeFrames::ParseVersionReply(reply, text);
                     if (status == Success) {
                         o_sVersion = Cp1252::Decode(text);
                     }
                     return status;
                 });
}

void CLumo::ReadWaiting(const std::function<void(const QByteArray&)>& i_take) {
    // Only the VT100 window reads the line without a command of its own.
    m_comm().NoteContext(LineContext::Vt100);
    Exchange(PortAfter::Open, [&](int) {
        modLumo::WaitMilliseconds(200);
        if (m_comm().InBufferCount() > 0) {
            i_take(m_comm().Input());
        }
        return Success;
    });
}

void CLumo::GetCommData(QString& o_sData) {
    ReadWaiting([&](const QByteArray& bytes) { o_sData = Cp1252::Decode(bytes); });
}

void CLumo::GetCommDataB(QByteArray& o_bData) {
    ReadWaiting([&](const QByteArray& bytes) { o_bData = bytes; });
}
