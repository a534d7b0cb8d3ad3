#pragma once

#include "device/MSComm.h"
#include "device/SerialSettings.h"

#include <QObject>
#include <QSerialPort>

// The serial component on a real port, through QSerialPort.
//
// Output returns only when the operating system holds every byte, and closing waits for the
// line to drain, so that nothing written before a close is lost. Any port error after the open
// (a peer that hangs up, an adapter pulled out) closes the port at once instead of letting the
// dead port wake the event loop forever.
class SerialPortComm : public QObject, public MSComm {
    Q_OBJECT

public:
    explicit SerialPortComm(QObject* i_pParent = nullptr);
    ~SerialPortComm() override;

    void setCommPort(qint16 i_iPort) override;
    qint16 CommPort() const override { return m_iPort; }
    void setDevicePath(const QString& i_sPath) override { m_sDevicePath = i_sPath; }

    void setSettings(const QString& i_sSettings) override;
    QString Settings() const override { return m_sSettings; }

    void setPortOpen(bool i_blnOpen) override;
    bool PortOpen() const override { return m_port.isOpen(); }

    int InBufferCount() override;
    QByteArray Input() override;
    void Output(const QByteArray& i_bData) override;

    // Why the port closed itself, if it did; empty otherwise.
    QString LastFault() const { return m_sLastFault; }

private:
    void open();
    void close();
    void applyFraming(const QString& i_sPath);
    void requireOpen(const char* i_pOperation) const;
    void pollDevice();
    void onError(QSerialPort::SerialPortError i_eError);
    static bool isPseudoTerminal(const QString& i_sPath);
    static QString openFailureReason(const QString& i_sPath, const QSerialPort& i_port);

    QSerialPort m_port;
    qint16 m_iPort = 0;
    QString m_sPath;
    QString m_sDevicePath;
    QString m_sSettings;
    SerialSettings m_settings;
    bool m_blnSettingsValid = false;
    bool m_blnApplyingFraming = false; // errors raised meanwhile are judged by applyFraming
    QString m_sLastFault;
};
