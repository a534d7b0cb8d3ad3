#pragma once

#include "core/serial/DeviceLock.h"
#include "core/serial/LineTap.h"
#include "core/serial/MSComm.h"
#include "core/serial/SerialSettings.h"

#include <QObject>
#include <QSerialPort>

// The serial component on a real port, through QSerialPort.
//
// Output queues the bytes and hands the operating system what it takes at once; it never waits.
// Closing waits for the line to take everything queued, with window events processed, so that
// nothing written before a close is lost; a line that does not take it within its line time
// and two seconds has the rest discarded, and the close fails. After opening a real port, the
// line settings are read back: a driver that did not apply one makes the open fail. Any port
// error after the open (a peer that hangs up, an adapter pulled out) closes the port at once
// instead of letting the dead port wake the event loop forever.
//
// Every byte written and read, every open (or failed open) and close goes into a LineTap, the
// program's shared one unless another is given, for the line monitor.
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
    void NoteContext(LineContext i_context) override;

    // The record this component writes into (not owned).
    void setTap(LineTap& io_tap) { m_pTap = &io_tap; }

private:
    void open();
    void openDevice(const QString& i_sPath);
    // Drains, then closes; throws WriteFailed (after closing) when queued bytes were discarded.
    void close();
    // Closes the port and lets go of the device lock, with no wait for the line.
    void closePort();
    // Records a close, with the reason when the port closed on a fault.
    void closed(const QString& i_sReason);
    // Empty when everything queued left; otherwise why not.
    QString drain();
    void pushToSystem();
    // Bytes not yet on the line: the write buffer and the operating system's output queue.
    qint64 queuedBytes() const;
    void applyFraming(const QString& i_sPath);
    void checkAppliedFraming(const QString& i_sPath);
    void requireOpen(const char* i_pOperation) const;
    void pollDevice();
    void onError(QSerialPort::SerialPortError i_eError);
    static bool isPseudoTerminal(const QString& i_sPath);
    static QString openFailureReason(const QString& i_sPath, const QSerialPort& i_port);

    QSerialPort m_port;
    DeviceLock m_deviceLock; // held while the port is open
    qint16 m_iPort = 0;
    QString m_sPath;
    QString m_sDevicePath;
    QString m_sSettings;
    SerialSettings m_settings;
    bool m_blnSettingsValid = false;
    bool m_blnApplyingFraming = false; // errors raised meanwhile are judged by applyFraming
    QString m_sLastFault;              // why the port closed itself, if it did
    LineTap* m_pTap = &LineTap::Shared();
};
