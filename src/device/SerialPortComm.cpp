#include "device/SerialPortComm.h"

#include "common/LumoError.h"
#include "device/PortResolver.h"
#include "ports/DeviceState.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

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

// Longest time Output waits for the operating system to take the bytes: the time the bytes
// need on the line at the current rate, and two seconds on top.
int writeBudgetMs(qint64 bytes, qint32 baud) {
    const qint64 lineMs = baud > 0 ? bytes * 10 * 1000 / baud : 0;
    return static_cast<int>(std::min<qint64>(lineMs + 2000, 120000));
}

} // namespace

SerialPortComm::SerialPortComm(QObject* i_pParent) : QObject(i_pParent) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortComm::onError);
}

SerialPortComm::~SerialPortComm() {
    if (m_port.isOpen()) {
        close();
    }
}

void SerialPortComm::setCommPort(qint16 i_iPort) {
    if (m_port.isOpen()) {
        throw LumoError(LumoErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
    }
    if (i_iPort < 1) {
        throw LumoError(LumoErrorNumber::InvalidPortNumber,
                        QStringLiteral("Invalid port number %1: no port is chosen").arg(i_iPort));
    }
    m_iPort = i_iPort;
}

void SerialPortComm::setSettings(const QString& i_sSettings) {
    const std::optional<SerialSettings> parsed = SerialSettings::Parse(i_sSettings);
    if (!parsed) {
        throw LumoError(LumoErrorNumber::InvalidValue,
                        QStringLiteral("Invalid port settings \"%1\"").arg(i_sSettings));
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
    if (m_iPort < 1) {
        throw LumoError(LumoErrorNumber::InvalidPortNumber, QStringLiteral("No port is chosen"));
    }
    if (!m_blnSettingsValid) {
        throw LumoError(LumoErrorNumber::InvalidSettings, QStringLiteral("No port settings"));
    }
    const QString path =
        m_sDevicePath.isEmpty() ? PortResolver::DevicePath(m_iPort) : m_sDevicePath;
    m_sPath = path;
    m_port.setPortName(path);
    m_sLastFault.clear();
    if (!m_port.open(QIODevice::ReadWrite)) {
        throw LumoError(LumoErrorNumber::PortUnavailable, openFailureReason(path, m_port));
    }
    try {
        applyFraming(path);
    } catch (const LumoError&) {
        m_port.close();
        throw;
    }
    if (!m_port.isOpen()) {
        throw LumoError(LumoErrorNumber::PortUnavailable,
                        m_sLastFault.isEmpty()
                            ? QStringLiteral("%1: closed while it was being set up").arg(path)
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

void SerialPortComm::close() {
    if (m_port.error() == QSerialPort::NoError || m_port.error() == QSerialPort::TimeoutError) {
        QElapsedTimer budget;
        budget.start();
        const int limit = writeBudgetMs(m_port.bytesToWrite(), m_settings.baudRate);
        while (m_port.isOpen() && m_port.bytesToWrite() > 0 && budget.elapsed() < limit) {
            m_port.waitForBytesWritten(100);
        }
#ifdef Q_OS_UNIX
        if (m_port.isOpen() && m_port.handle() >= 0) {
            ::tcdrain(m_port.handle());
        }
#endif
    }
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_port.clearError();
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
    return m_port.readAll();
}

void SerialPortComm::Output(const QByteArray& i_bData) {
    requireOpen("Output");
    if (i_bData.isEmpty()) {
        return;
    }
    if (m_port.write(i_bData) != i_bData.size()) {
        const QString reason = m_port.errorString();
        close();
        throw LumoError(LumoErrorNumber::WriteFailed,
                        QStringLiteral("Write failed: %1").arg(reason));
    }
    QElapsedTimer budget;
    budget.start();
    const int limit = writeBudgetMs(i_bData.size(), m_settings.baudRate);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(100) && budget.elapsed() >= limit) {
            break;
        }
    }
    if (!m_port.isOpen() || m_port.bytesToWrite() > 0) {
        const QString reason =
            m_sLastFault.isEmpty() ? QStringLiteral("the line does not take data") : m_sLastFault;
        if (m_port.isOpen()) {
            m_port.close();
        }
        throw LumoError(LumoErrorNumber::WriteFailed,
                        QStringLiteral("Write failed: %1").arg(reason));
    }
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
    m_port.close();
}

bool SerialPortComm::isPseudoTerminal(const QString& i_sPath) {
    return DeviceState::IsPseudoTerminal(i_sPath);
}

QString SerialPortComm::openFailureReason(const QString& i_sPath, const QSerialPort& i_port) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(i_sPath);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        return QStringLiteral("%1: %2").arg(i_sPath, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (::access(path.constData(), R_OK | W_OK) != 0) {
        return QStringLiteral("%1: %2").arg(i_sPath, QString::fromLocal8Bit(std::strerror(errno)));
    }
    // A lock file left by another program names that program's process id.
    if (const qint64 pid = DeviceState::LockOwner(i_sPath)) {
        return QStringLiteral("%1: in use by another program (process %2)").arg(i_sPath).arg(pid);
    }
    if (i_port.error() == QSerialPort::PermissionError) {
        return QStringLiteral("%1: in use by another program").arg(i_sPath);
    }
#endif
    return QStringLiteral("%1: %2").arg(i_sPath, i_port.errorString());
}
