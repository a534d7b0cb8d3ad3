#pragma once

#include "core/transfer/XModemOutcome.h"

#include <QByteArray>
#include <QString>
#include <functional>

class MSComm;
class frmCLumo;

// The device session: the only way the program talks to the display. It keeps the serial
// parameters chosen in the main window, opens and closes the program's one serial port, and
// offers the display's commands. Every device operation returns a status code (0 success,
// -1 already connected, -2 open failed, -3 not connected, -4 no response, -5 invalid baud
// rate, -6 refused, -8 invalid parameter) and never throws.
//
// Every operation runs through one exchange path (Exchange): open the port with the stored
// parameters, check that it really is open, do the exchange, close the port on a fault inside
// it, and close it again at the end. InBufferCount, GetCommData, GetCommDataB and
// SendMessageB_VT100 leave it open for the VT100 test window, which closes it with Disconnect;
// FirmwareUpdateMode leaves it open for the transfer that follows.
class CLumo {
public:
    CLumo();

    int InBufferCount();
    int Connect();
    int Disconnect();

    QString Settings() const;
    void setSettings(const QString& i_sSettings);
    qint32 CommPort() const;
    void setCommPort(qint32 i_CommPort);

    void ShowErrorDescription(qint32 i_lResult);
    void ErrorDescription(qint32 i_lResult, QString& o_sMessage) const;

    int SetBaudRate(const QString& i_sBaudRate, const QString& i_sParity);
    QString BaudRate() const;
    void setBaudRate(const QString& i_sBaudRate);

    int SetInternationalCode(qint16 i_iCodeIndex);
    int SaveMessage(qint16 i_iLayer);
    int SetPosition(qint16 i_iPosition);
    int ClearDisplay(double i_iStart, double i_iEnd);
    int DisplayShowSavedMessageAfterRebootMode(double i_iLayer);
    int DisplayDemoMessage(double i_iLayer, double i_iMode);

    int SendMessage(const QString& i_sMessage);
    int SendMessageB(quint8 i_bMessage);
    int SendMessageByteArray(const QByteArray& bMessage);
    int SendMessageStringAndByte(const QString& i_sMessage, quint8 i_bMessage);
    int FullyLightTube(qint16 i_SendStringLen);
    // Writes the bytes as they are: no frame, no translation, no answer awaited.
    int SendBytes(const QByteArray& i_bBytes);
    int SendMessageB_VT100(quint8 i_bMessage);

    int GetMessage(QString& o_sMessage);

    QString Parity() const;
    void setParity(const QString& i_sParity);

    void GetCommData(QString& o_sData);
    void GetCommDataB(QByteArray& o_bData);

    int PrinterOn();
    int PrinterOff();
    int GetVersion(QString& o_sVersion);

    // --- File transfer and firmware update (CLumoTransfer.cpp) -------------------------------
    // The file and check type are kept here and handed to the host's XModem engine.
    // StartSendFile arms the engine's one-shot start timer and returns at once; StopSendFile
    // disarms it and asks a running transfer to end after its current round.
    QString File() const;
    void setFile(const QString& i_sFile);
    qint32 CheckSumType() const;
    void setCheckSumType(qint32 i_CheckSum);
    void StartSendFile();
    void StopSendFile();
    qint16 Progress() const;
    bool UpdateFirmwareFinish() const;
    void setUpdateFirmwareFinish(bool i_blnUpdateFirmwareFinish);
    qint32 FirmwareCodeType() const;
    void setFirmwareCodeType(qint32 i_CodeType);
    // Switches the display into its loader: ESC "Load", "XA" CR, then "PX" or "ZX" CR LF.
    // 0, -2 (open failed), -3 (the port is not open, or a write or read failed and the port was
    // closed), -4 (no prompt) or -7 (a stop was requested). Otherwise the port is left open.
    int FirmwareUpdateMode();
    // How the last transfer ended (NotStarted until a run has begun after StartSendFile).
    XModemOutcome LastTransferOutcome() const;
    // True from the start of FirmwareUpdateMode until the transfer that follows it has ended
    // (or was stopped before it began): the port belongs to the transfer.
    bool TransferRunning() const;

private:
    // Waits for a prompt holding ">"; 0, or -4 after 120 silent polls of 500 ms, or at the
    // first poll without ">" once more than 10 s have passed in all; -7 once a stop is
    // requested.
    int WaitForPrompt();

    MSComm& m_comm() const;

    enum class PortAfter { Closed, Open };

    // The one exchange path of every device operation: Connect (-2 when that fails), check that
    // the port really is open (-3 when it is not), run i_exchange with Connect's result (0, or
    // -1 when the port had been open) and return its status. A LumoError inside the exchange
    // closes the port and gives -3. With PortAfter::Closed the port is closed at the end, and a
    // close that had to discard what the command wrote (a stalled line) gives -3 as well.
    int Exchange(PortAfter i_after, const std::function<int(int)>& i_exchange);

    // Polls the receive count up to i_iMaxCount + 1 times, waiting i_iWaitMs between polls;
    // true as soon as bytes are waiting, false when the last poll found none.
    bool AwaitAnswer(int i_iWaitMs, int i_iMaxCount);

    // Inside the exchange: build the frame (a status other than 0 ends the command unsent),
    // then SendCommandFrame.
    int RunConfigurationCommand(const std::function<int(QByteArray&)>& i_buildFrame);
    int SendCommandFrame(const QByteArray& frame);
    int SendEscapePair(char i_cSecond);
    int Query(const QByteArray& i_bFrame, int i_iSettleMs, int i_iIdleMs, int i_iMaxCount,
              const std::function<int(const QByteArray&)>& i_accept);
    void WritePaced(const QByteArray& i_bData);
    void TranslateCharacters(QByteArray& io_bData) const;
    QByteArray EncodeText(const QString& i_sText) const;
    void ReadWaiting(const std::function<void(const QByteArray&)>& i_take);

    // Closes the port if it is open; false when the close failed (queued bytes were discarded
    // because the line did not take them in time), with the reason in the host's
    // LastCloseFailure. The port is closed either way.
    bool ClosePort();

    frmCLumo* m_host;
    QString m_sSettings;
    QString m_sBaudRate;
    QString m_sParity;
    qint32 m_CommPort = 0;
    QString m_sFile;
    qint32 m_CheckSumType = 0;
    qint32 m_FirmwareCodeType = 0;
};
