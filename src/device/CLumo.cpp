#include "device/CLumo.h"

#include "common/AppInfo.h"
#include "common/Cp1252.h"
#include "common/LumoError.h"
#include "common/LumoStatus.h"
#include "common/NumberText.h"
#include "common/Prompt.h"
#include "device/MSComm.h"
#include "device/NativeFrames.h"
#include "device/modLumo.h"
#include "transfer/frmCLumo.h"

using namespace LumoStatus;

namespace {

bool hasWaiting(MSComm& comm) {
    return comm.InBufferCount() > 0;
}

} // namespace

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
    MSComm& comm = m_comm();
    if (!comm.PortOpen()) {
        return NotConnected;
    }
    try {
        comm.setPortOpen(false);
    } catch (const LumoError&) {
        // A port that fails to close is closed as far as the session is concerned.
    }
    return Success;
}

void CLumo::DropPort() {
    try {
        if (m_comm().PortOpen()) {
            m_comm().setPortOpen(false);
        }
    } catch (const LumoError&) {
    }
}

int CLumo::InBufferCount() {
    try {
        if (!m_comm().PortOpen() && Connect() != Success) {
            return 0;
        }
        return m_comm().InBufferCount();
    } catch (const LumoError&) {
        return 0;
    }
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
    if (i_sParity == QLatin1String("NONE")) {
        m_sParity = QStringLiteral("n,8,1");
    } else if (i_sParity == QLatin1String("ODD")) {
        m_sParity = QStringLiteral("o,7,1");
    } else if (i_sParity == QLatin1String("EVEN")) {
        m_sParity = QStringLiteral("e,7,1");
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
    int count = 0;
    for (;;) {
        if (hasWaiting(comm)) {
            return NativeFrames::AcknowledgementStatus(comm.Input());
        }
        modLumo::WaitMilliseconds(50);
        if (++count > 15) {
            return NoResponse;
        }
        modLumo::ProcessEvents();
    }
}

int CLumo::RunConfigurationCommand(const std::function<int(QByteArray&)>& i_buildFrame) {
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        if (!m_comm().PortOpen()) {
            status = NotConnected;
        } else {
            QByteArray frame;
            status = i_buildFrame(frame);
            if (status == Success) {
                status = SendCommandFrame(frame);
            }
        }
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
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
    int result = Connect();
    if (result == OpenFailed) {
        return OpenFailed;
    }
    try {
        if (!m_comm().PortOpen()) {
            result = NotConnected;
        } else {
            m_comm().Output(QByteArray("\x1B").append(i_cSecond));
        }
    } catch (const LumoError&) {
        DropPort();
        result = NotConnected;
    }
    Disconnect();
    return result;
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
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        WritePaced(EncodeText(i_sMessage));
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
}

int CLumo::SendMessageB(quint8 i_bMessage) {
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
}

int CLumo::SendMessageStringAndByte(const QString& i_sMessage, quint8 i_bMessage) {
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        m_comm().Output(EncodeText(i_sMessage));
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
}

int CLumo::SendMessageByteArray(const QByteArray& bMessage) {
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        WritePaced(bMessage);
        for (int count = 0;;) {
            if (hasWaiting(m_comm())) {
                status = NativeFrames::AcknowledgementStatus(m_comm().Input());
                break;
            }
            modLumo::WaitMilliseconds(1);
            if (++count > 30) {
                status = NoResponse;
                break;
            }
            modLumo::ProcessEvents();
        }
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
}

int CLumo::FullyLightTube(qint16 i_SendStringLen) {
    const QByteArray cells(std::max<int>(0, i_SendStringLen), '\xB2');
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        WritePaced(cells);
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
}

int CLumo::SendMessageB_VT100(quint8 i_bMessage) {
    if (!m_comm().PortOpen() && Connect() == OpenFailed) {
        return OpenFailed;
    }
    try {
        m_comm().Output(QByteArray(1, static_cast<char>(i_bMessage)));
    } catch (const LumoError&) {
        DropPort();
        return NotConnected;
    }
    return Success;
}

// --- Queries ------------------------------------------------------------------------------

int CLumo::Query(const QByteArray& i_bFrame, int i_iSettleMs, int i_iIdleMs, int i_iMaxCount,
                 const std::function<int(const QByteArray&)>& i_accept) {
    if (Connect() == OpenFailed) {
        return OpenFailed;
    }
    int status = Success;
    try {
        MSComm& comm = m_comm();
        if (!comm.PortOpen()) {
            status = NotConnected;
        } else {
            comm.Input();
            comm.Output(i_bFrame);
            for (int count = 0;;) {
                if (hasWaiting(comm)) {
                    modLumo::WaitMilliseconds(i_iSettleMs); // let the whole reply arrive
                    status = i_accept(comm.Input());
                    break;
                }
                modLumo::WaitMilliseconds(i_iIdleMs);
                if (++count > i_iMaxCount) {
                    status = NoResponse;
                    break;
                }
                modLumo::ProcessEvents();
            }
        }
    } catch (const LumoError&) {
        DropPort();
        status = NotConnected;
    }
    Disconnect();
    return status;
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
    return Query(NativeFrames::Frame('V'), 300, 100, 10, [&](const QByteArray& reply) {
        QByteArray text;
        const int status = NativeFrames::ParseVersionReply(reply, text);
        if (status == Success) {
            o_sVersion = Cp1252::Decode(text);
        }
        return status;
    });
}

void CLumo::ReadWaiting(const std::function<void(const QByteArray&)>& i_take) {
    if (Connect() == OpenFailed) {
        return;
    }
    try {
        if (m_comm().PortOpen()) {
            modLumo::WaitMilliseconds(200);
            if (hasWaiting(m_comm())) {
                i_take(m_comm().Input());
            }
        }
    } catch (const LumoError&) {
        DropPort();
    }
}

void CLumo::GetCommData(QString& o_sData) {
    ReadWaiting([&](const QByteArray& bytes) { o_sData = Cp1252::Decode(bytes); });
}

void CLumo::GetCommDataB(QByteArray& o_bData) {
    ReadWaiting([&](const QByteArray& bytes) { o_bData = bytes; });
}
