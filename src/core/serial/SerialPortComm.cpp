#include "core/serial/SerialPortComm.h"

#include "core/common/LumoError.h"
#include "core/ports/ConsoleGuard.h"
#include "core/ports/DeviceState.h"
#include "core/ports/LockFile.h"
#include "core/ports/PortResolver.h"
#include "core/protocol/modLumo.h"
#include "core/serial/SerialNative.h"

#include <QFile>
#include <QFileInfo>

namespace {

QSerialPort::Parity toQtParity(char p) {
    switch (p) {
    case 'o':
        return QSerialPort::OddParity;
    case 'e':
        return QSerialPort::EvenParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits toQtStopBits(int s) {
    return s == 2   ? QSerialPort::TwoStop
           : s == 3 ? QSerialPort::OneAndHalfStop
                    : QSerialPort::OneStop;
}

// Closing waits in steps this long for the line to take what is queued, with window events
// processed between them.
constexpr qint64 kDrainStepMs = 10;

// Once a stop is requested, closing gives the last bytes (the sender's abort) this long at most.
constexpr qint64 kStoppingDrainMs = 300;

// Longest time closing waits for the queued bytes to leave: their time on the line at the
// current framing, and two seconds on top.
qint64 drainBudgetMs(qint64 i_lBytes, const SerialSettings& i_settings) {
    const int stopBits = i_settings.stopBits == 1 ? 1 : 2;
    const int bitsPerByte = 1 + i_settings.dataBits + (i_settings.parity == 'n' ? 0 : 1) + stopBits;
    const qint64 lineMs =
        i_settings.baudRate > 0 ? i_lBytes * bitsPerByte * 1000 / i_settings.baudRate : 0;
    return lineMs + 2000;
}

} // namespace

SerialPortComm::SerialPortComm(QObject* i_pParent) : QObject(i_pParent) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortComm::onError);
}

SerialPortComm::~SerialPortComm() {
    // The program is ending: no wait for the line any more.
    if (m_port.isOpen()) {
        closePort();
    }
}

void SerialPortComm::setCommPort(qint16 i_iPort) {
    if (m_port.isOpen()) {
        throw LumoError(LumoErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
    }
    if (i_iPort < 1) {
        const QString reason =
            QStringLiteral("Invalid port number %1: no port is chosen").arg(i_iPort);
        m_pTap->OpenFailed(QString(), QString(), reason);
        throw LumoError(LumoErrorNumber::InvalidPortNumber, reason);
    }
    m_iPort = i_iPort;
}

void SerialPortComm::setSettings(const QString& i_sSettings) {
    const std::optional<SerialSettings> parsed = SerialSettings::Parse(i_sSettings);
    if (!parsed) {
        const QString reason = QStringLiteral("Invalid port settings \"%1\"").arg(i_sSettings);
        m_pTap->OpenFailed(QString(), i_sSettings, reason);
        throw LumoError(LumoErrorNumber::InvalidValue, reason);
    }
    m_sSettings = i_sSettings;
    m_settings = *parsed;
    m_blnSettingsValid = true;
    if (m_port.isOpen()) {
        applyFraming(m_sPath);
    }
}

void SerialPortComm::setPortOpen(bool i_blnOpen) {
    if (i_blnOpen) {
        open();
    } else if (m_port.isOpen()) {
        close();
    }
}

void SerialPortComm::open() {
    if (m_port.isOpen()) {
        throw LumoError(LumoErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
    }
    QString path = m_sDevicePath;
    if (path.isEmpty() && m_iPort >= 1) {
        path = PortResolver::DevicePath(m_iPort);
    }
    try {
        if (m_iPort < 1) {
            throw LumoError(LumoErrorNumber::InvalidPortNumber,
                            QStringLiteral("No port is chosen"));
        }
        if (!m_blnSettingsValid) {
            throw LumoError(LumoErrorNumber::InvalidSettings, QStringLiteral("No port settings"));
        }
        if (m_sDevicePath.isEmpty() && ConsoleGuard::DefaultsToConsole(m_iPort)) {
            throw LumoError(LumoErrorNumber::PortUnavailable, ConsoleGuard::Refusal(m_iPort));
        }
        openDevice(path);
    } catch (const LumoError& e) {
        m_pTap->OpenFailed(path, m_sSettings, e.description());
        throw;
    }
    m_pTap->Opened(path, m_sSettings);
}

void SerialPortComm::openDevice(const QString& i_sPath) {
    m_sPath = i_sPath;
    m_port.setPortName(i_sPath);
    m_sLastFault.clear();
    // Another program's lock counts whatever name this program reaches the device by (the
    // serial library only looks for a lock named after the path it is given), and so does the
    // flock of one that locks that way; both are checked before anything reaches the line.
    const LockFile::Holder holder = LockFile::Of(i_sPath, QString());
    if (holder.pid != 0) {
        throw LumoError(LumoErrorNumber::PortUnavailable,
                        QStringLiteral("%1: in use by %2").arg(i_sPath, holder.Text()));
    }
    m_deviceLock.Take(i_sPath);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_deviceLock.Release();
        throw LumoError(LumoErrorNumber::PortUnavailable, openFailureReason(i_sPath, m_port));
    }
    SerialNative::AfterOpen(m_port);
    try {
        applyFraming(i_sPath);
        checkAppliedFraming(i_sPath);
    } catch (const LumoError&) {
        closePort();
        throw;
    }
    if (!m_port.isOpen()) {
        throw LumoError(LumoErrorNumber::PortUnavailable,
                        m_sLastFault.isEmpty()
                            ? QStringLiteral("%1: closed while it was being set up").arg(i_sPath)
                            : m_sLastFault);
    }
    m_port.clear(QSerialPort::AllDirections);
}

void SerialPortComm::applyFraming(const QString& i_sPath) {
    // A setting the line refuses raises errorOccurred as well; that must not close the port,
    // since on a pseudo-terminal the refusal is expected and accepted below.
    m_blnApplyingFraming = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_blnApplyingFraming};
    const bool pty = isPseudoTerminal(i_sPath);
    auto check = [&](bool ok, const QString& what) {
        // A pseudo-terminal keeps 8 data bits and no parity whatever is asked; the framing
        // only matters on a real line.
        if (!ok && !pty) {
            throw LumoError(
                LumoErrorNumber::InvalidSettings,
                QStringLiteral("%1: cannot set %2 (%3)").arg(i_sPath, what, m_port.errorString()));
        }
    };
    check(m_port.setBaudRate(m_settings.baudRate),
          QStringLiteral("%1 baud").arg(m_settings.baudRate));
    check(m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits)),
          QStringLiteral("%1 data bits").arg(m_settings.dataBits));
    check(m_port.setParity(toQtParity(m_settings.parity)),
          QStringLiteral("parity %1").arg(QLatin1Char(m_settings.parity)));
    check(m_port.setStopBits(toQtStopBits(m_settings.stopBits)), QStringLiteral("stop bits"));
    check(m_port.setFlowControl(QSerialPort::NoFlowControl), QStringLiteral("no flow control"));
    m_port.clearError();
}

void SerialPortComm::checkAppliedFraming(const QString& i_sPath) {
    // A driver can report success for a setting it did not apply: read the line back. A
    // pseudo-terminal keeps its 8 data bits and no parity, and is not judged.
    if (isPseudoTerminal(i_sPath)) {
        return;
    }
    QStringList missing;
    QString error;
    if (!SerialNative::NotApplied(m_port, m_settings, missing, error)) {
        throw LumoError(
            LumoErrorNumber::InvalidSettings,
            QStringLiteral("%1: cannot read the line settings back (%2)").arg(i_sPath, error));
    }
    if (!missing.isEmpty()) {
        throw LumoError(LumoErrorNumber::InvalidSettings,
                        QStringLiteral("%1: the driver did not apply %2")
                            .arg(i_sPath, missing.join(QStringLiteral(", "))));
    }
}

void SerialPortComm::pushToSystem() {
    // Only when the line has room: a write into a full queue would count as a port error.
    while (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        const qint64 before = m_port.bytesToWrite();
        m_port.waitForBytesWritten(0);
        if (m_port.bytesToWrite() >= before) {
            break;
        }
    }
}

qint64 SerialPortComm::queuedBytes() const {
    return m_port.bytesToWrite() + SerialNative::QueuedInSystem(m_port);
}

QString SerialPortComm::drain() {
    pushToSystem();
    const qint64 queued = queuedBytes();
    if (queued == 0) {
        return QString();
    }
    WaitClock& clock = modLumo::Clock();
    const qint64 budget = drainBudgetMs(queued, m_settings);
    const qint64 start = clock.NowMs();
    while (m_port.isOpen()) {
        pushToSystem();
        const qint64 left = queuedBytes();
        if (left == 0) {
            return QString();
        }
        const bool stopping = modLumo::StopRequested();
        const qint64 limit = stopping ? std::min(budget, kStoppingDrainMs) : budget;
        if (clock.NowMs() - start > limit || modLumo::WaitsAbandoned()) {
            SerialNative::DiscardOutput(m_port);
            return QStringLiteral("%1: %2 bytes did not leave within %3 ms and were discarded")
                .arg(m_sPath)
                .arg(left)
                .arg(limit);
        }
        if (stopping) {
            clock.Idle(kDrainStepMs); // every wait ends at once now; this one must not spin
        } else {
            modLumo::WaitMilliseconds(kDrainStepMs);
        }
    }
    // The port closed itself (the line died) with bytes still waiting.
    return m_sLastFault.isEmpty()
               ? QStringLiteral("%1: the port closed with bytes unsent").arg(m_sPath)
               : m_sLastFault;
}

void SerialPortComm::close() {
    QString lost;
    if (m_port.error() == QSerialPort::NoError || m_port.error() == QSerialPort::TimeoutError) {
        lost = drain();
    }
    if (m_port.isOpen()) {
        closePort(); // drops whatever is still in the write buffer
        closed(lost);
    }
    m_port.clearError();
    if (!lost.isEmpty()) {
        throw LumoError(LumoErrorNumber::WriteFailed, QStringLiteral("Write failed: %1").arg(lost));
    }
}

void SerialPortComm::closePort() {
    m_port.close();
    m_deviceLock.Release();
}

void SerialPortComm::closed(const QString& i_sReason) {
    m_pTap->Closed(i_sReason);
}

void SerialPortComm::NoteContext(LineContext i_context) {
    m_pTap->Context(i_context);
}

void SerialPortComm::requireOpen(const char* i_pOperation) const {
    if (!m_port.isOpen()) {
        QString reason =
            QStringLiteral("%1: the port is not open").arg(QLatin1String(i_pOperation));
        if (!m_sLastFault.isEmpty()) {
            reason += QStringLiteral(" (%1)").arg(m_sLastFault);
        }
        throw LumoError(LumoErrorNumber::PortNotOpen, reason);
    }
}

void SerialPortComm::pollDevice() {
    // Picks up bytes that reached the operating system but no event-loop pass has read yet.
    if (m_port.isOpen()) {
        m_port.waitForReadyRead(0);
    }
}

int SerialPortComm::InBufferCount() {
    requireOpen("InBufferCount");
    pollDevice();
    requireOpen("InBufferCount");
    return static_cast<int>(std::min<qint64>(m_port.bytesAvailable(), INT_MAX));
}

QByteArray SerialPortComm::Input() {
    requireOpen("Input");
    pollDevice();
    requireOpen("Input");
    QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty()) {
        m_pTap->Read(bytes);
    }
    return bytes;
}

void SerialPortComm::Output(const QByteArray& i_bData) {
    requireOpen("Output");
    if (i_bData.isEmpty()) {
        return;
    }
    m_pTap->Written(i_bData);
    if (m_port.write(i_bData) != i_bData.size()) {
        const QString reason = m_port.errorString();
        closePort();
        closed(reason);
        throw LumoError(LumoErrorNumber::WriteFailed,
                        QStringLiteral("Write failed: %1").arg(reason));
    }
    // Queued, never waited for: what the line cannot take at once leaves while the program
    // waits for the display, and closing the port waits for the rest.
    pushToSystem();
}

void SerialPortComm::onError(QSerialPort::SerialPortError i_eError) {
    if (i_eError == QSerialPort::NoError || i_eError == QSerialPort::TimeoutError) {
        return;
    }
    if (!m_port.isOpen() || m_blnApplyingFraming) {
        return;
    }
    // Closing here stops the flood of notifications a dead port would otherwise raise.
    m_sLastFault = QStringLiteral("%1: %2").arg(m_sPath, m_port.errorString());
    closePort();
    closed(m_sLastFault);
}

bool SerialPortComm::isPseudoTerminal(const QString& i_sPath) {
    return DeviceState::IsPseudoTerminal(i_sPath);
}

QString SerialPortComm::openFailureReason(const QString& i_sPath, const QSerialPort& i_port) {
    const QString reason = SerialNative::OpenFailure(i_sPath, i_port);
    return reason.isEmpty() ? QStringLiteral("%1: %2").arg(i_sPath, i_port.errorString()) : reason;
}
