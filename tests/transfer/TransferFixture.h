#pragma once

#include "ScriptedReceiver.h"
#include "core/device/CLumo.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/PortSwap.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A session on a scripted port with the replaced clock; the port is open as the firmware
// dialog leaves it after the loader switch.
class TransferFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The session on COM1 at 19200 baud, no parity, with the transfer's progress, outcome and
    // finish reset and the receiver listening; the port is not opened. SetUp does this and then
    // opens the port.
    void PrepareSession();

    // A file of the given bytes in the test's temporary folder.
    QString MakeFile(const QByteArray& i_bContent, const QString& i_sName = "image.bin");

    // Arms the engine and runs the timer tick at once.
    void RunTransfer(const QString& i_sFile, qint32 i_CheckSumType);

    // Lets real time pass with the event loop running (for the engine's own start timer).
    static void PumpEvents(int i_iMs);

    FakeClock clock;
    RecordingPrompt prompt;
    PortSwap<FakeComm> port;
    FakeComm* comm = port.Port();
    std::unique_ptr<ScriptedReceiver> receiver;
    CLumo lumo;
    QTemporaryDir dir;
};

// "61 62 63 1A 1A ...": i_bHead followed by i_iCount bytes i_cFill, in the tests' hex form.
QString HexWithFill(const QByteArray& i_bHead, int i_iCount, char i_cFill);
