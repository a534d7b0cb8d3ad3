#include "core/device/frmCLumo.h"

#include "core/serial/SerialPortComm.h"
#include "core/transfer/XModemEngine.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
QPointer<frmCLumo> g_pHost;
} // namespace

frmCLumo& frmCLumo::Instance() {
    if (g_pHost.isNull()) {
        g_pHost = new frmCLumo(QCoreApplication::instance());
    }
    return *g_pHost;
}

frmCLumo::frmCLumo(QObject* i_pParent)
    : QObject(i_pParent), m_pComm(std::make_unique<SerialPortComm>()) {
    Timer1.setSingleShot(true);
    Timer1.setInterval(200);
    connect(&Timer1, &QTimer::timeout, this, &frmCLumo::Timer1_Timer);
}

frmCLumo::~frmCLumo() = default;

std::unique_ptr<MSComm> frmCLumo::ReplaceComm(std::unique_ptr<MSComm> i_pComm) {
    std::swap(m_pComm, i_pComm);
    return i_pComm;
}

void frmCLumo::ArmTransfer() {
    m_outcome = XModemOutcome();
    Timer1.start();
    emit transferStateChanged();
}

void frmCLumo::Timer1_Timer() {
    Timer1.stop(); // the run's first step: it never starts itself again
    if (m_blnRunning) {
        return;
    }
    m_blnRunning = true;
    emit transferStateChanged();
    XModemEngine(*this).Run();
    m_blnRunning = false;
    emit transferStateChanged();
    emit transferEnded();
}
