#pragma once

#include "device/CLumo.h"
#include "support/FakeClock.h"
#include "support/FakeComm.h"
#include "vt100/frmVT100.h"

#include <QColor>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

class MSComm;
class QLabel;
class QMessageBox;
class QPushButton;
class QTimer;

// Readable failures for texts and lists of texts.
inline void PrintTo(const QString& i_sText, std::ostream* o_pOut) {
    *o_pOut << '"' << i_sText.toStdString() << '"';
}
inline void PrintTo(const QStringList& i_sList, std::ostream* o_pOut) {
    PrintTo(i_sList.join(QStringLiteral(" | ")), o_pOut);
}

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
        T* control = window->findChild<T*>(QString::fromLatin1(i_sName));
        EXPECT_NE(control, nullptr) << i_sName;
        return control;
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
    FakeComm* comm = nullptr;
    std::unique_ptr<CLumo> lumo;
    std::unique_ptr<frmVT100> window;

private:
    std::unique_ptr<MSComm> m_pSaved;
};

// Reads and closes the next message box that opens while it is alive.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    int count = 0;
    QString title;
    QString text;
    int icon = -1;

private:
    QTimer* m_pTimer;
};
