#pragma once

#include "device/MSComm.h"

#include <QObject>
#include <QTimer>
#include <memory>

// The hidden host of the program's one serial port. It is never shown; every session shares
// it. It also carries the file sender's start timer.
class frmCLumo : public QObject {
    Q_OBJECT

public:
    // The one host, created on first use and parented to the application object.
    static frmCLumo& Instance();

    MSComm& MSComm1() { return *m_pComm; }

    // Puts another serial component in place of the current one and returns the old one.
    // Tests use it to run the program over a scripted port.
    std::unique_ptr<MSComm> ReplaceComm(std::unique_ptr<MSComm> i_pComm);

    // The operating system's reason for the last failed open, for example
    // "/dev/ttyUSB0: Permission denied"; empty after a successful open.
    QString LastOpenFailure() const { return m_sLastOpenFailure; }
    void setLastOpenFailure(const QString& i_sReason) { m_sLastOpenFailure = i_sReason; }

    // One-shot start timer of the file sender: 200 ms, disabled when the host is created.
    QTimer Timer1;

private:
    explicit frmCLumo(QObject* i_pParent);
    ~frmCLumo() override;

    std::unique_ptr<MSComm> m_pComm;
    QString m_sLastOpenFailure;
};
