#pragma once

#include "core/device/CLumo.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/PortSwap.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>
#include <memory>

// The scripted port with extra probes: it counts the polls of the receive count, and it can be
// told to accept an open without opening, or to refuse a write or a count while staying open.
class ProbeComm : public FakeComm {
public:
    int InBufferCount() override;
    void setPortOpen(bool i_blnOpen) override {
        if (i_blnOpen && openDoesNothing) {
            return;
        }
        FakeComm::setPortOpen(i_blnOpen);
    }
    void Output(const QByteArray& i_bData) override;

    int polls = 0;
    bool openDoesNothing = false;     // the open "succeeds" but the port stays closed
    bool writeFailsStaysOpen = false; // Output throws and the component keeps the port open
    bool countFailsStaysOpen = false; // InBufferCount throws and the port stays open
};

// A session on COM1 at 19200 baud, no parity, over the scripted port, with the replaced clock
// and a recording prompt. The real component is put back afterwards.
class SessionFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every Output call in hexadecimal, one entry per call.
    QStringList WriteCalls() const;

    bool PortOpen() const { return m_pComm->PortOpen(); }

    FakeClock m_clock;
    RecordingPrompt m_prompt;
    PortSwap<ProbeComm> m_port;
    ProbeComm* m_pComm = m_port.Port();
    std::unique_ptr<CLumo> m_pLumo;
    CLumo& lumo() { return *m_pLumo; }
};
