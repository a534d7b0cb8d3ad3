#pragma once

#include "core/device/CLumo.h"
#include "gui/vt100/frmVT100.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "support/FindChild.h"
#include "support/PortSwap.h"
#include "support/QtPrinters.h"

#include <QColor>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;

// The VT100 window over a scripted port and the replaced clock, shown offscreen, with its
// blink timer stopped so that only the test decides when it ticks.
class Vt100WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QLabel* Label(int i_iIndex) const;
    QPushButton* Button(int i_iIndex) const;
    QTimer* Timer() const;
    template <typename T> T* Control(const char* i_sName) const {
        return FindChild<T>(*window, i_sName);
    }

    QColor Background(int i_iIndex) const;
    QColor TextColour(int i_iIndex) const;
    // Indexes of the labels whose background is not the normal (0, 64, 0).
    QList<int> MarkedCells() const;
    QString Captions(int i_iFirst, int i_iCount) const;
    bool Busy() const;
    // The port's journal as one line: "open 1 19200n,8,1 | write 41 | close".
    QString Journal() const { return comm->journal.join(QStringLiteral(" | ")); }
    void Tick();

    // Answers the bytes i_bAfter, as soon as the written stream ends with them.
    void AnswerAfter(const QByteArray& i_bAfter, const QByteArray& i_bAnswer,
                     qint64 i_lDelayMs = 300);

    FakeClock clock;
    PortSwap<FakeComm> port;
    FakeComm* comm = port.Port();
    std::unique_ptr<CLumo> lumo;
    std::unique_ptr<frmVT100> window;
};
