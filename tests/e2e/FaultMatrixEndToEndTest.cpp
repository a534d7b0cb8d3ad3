#include "E2EFixture.h"
#include "pty/CpuTime.h"

#include <QSerialPort>
#include <QTest>
#include <unistd.h>

namespace {

class FaultMatrix : public E2EFixture {
protected:
    // A second of idle event loop after a fault must not keep a core busy.
    void ExpectNoSpinning() {
        const double before = ProcessCpuSeconds();
        QTest::qWait(1000);
        EXPECT_LT(ProcessCpuSeconds() - before, 0.5);
    }
};

TEST_F(FaultMatrix, APortLockedByAnotherProgramNamesThatProgram) {
    Start();
    QSerialPort other;
    other.setPortName(m_pDisplay->SlavePath());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Commport open failed.");
    const QString tip = Edit("txtStatus")->toolTip();
    EXPECT_TRUE(tip.contains(QStringLiteral("in use by e2e_tests, process %1").arg(::getpid())))
        << tip.toStdString();
    other.close();
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
}

TEST_F(FaultMatrix, AHangUpDuringAMessageReadEndsTheReadWithoutSpinning) {
    PtyDisplayOptions options;
    options.silent = true;
    options.hangupAfter = 4; // the line dies once the read request is through
    Start(options);
    Press("cmdVELT(7)");
    EXPECT_TRUE(Status() == "Device is not connected." || Status() == "Device does not respond.")
        << Status().toStdString();
    // Everything written before the fault was delivered.
    EXPECT_EQ(m_pDisplay->Received().toHex(' '), QByteArray("04 01 54 17"));
    ExpectUsable();
    ExpectNoSpinning();
    Attach();
    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "OK");
}

TEST_F(FaultMatrix, AStaleAcknowledgementIsNotTakenForTheAnswer) {
    PtyDisplayOptions options;
    options.silent = true;
    Start(options);
    const char stale = '\x06';
    ASSERT_EQ(::write(m_pDisplay->MasterFd(), &stale, 1), 1);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Device does not respond.");
}

TEST_F(FaultMatrix, AVersionReplyCutShortIsRefused) {
    PtyDisplayOptions options;
    options.emulator.version = QByteArrayLiteral("V1");
    Start(options);
    Press("cmdVELT(9)");
    EXPECT_EQ(Status(), "Get Nack");
    EXPECT_EQ(Find<QLabel>("lblVersion")->text(), "Firmware Version : ");
    ExpectUsable();
}

TEST_F(FaultMatrix, AMessageWrittenJustBeforeTheCloseArrivesWhole) {
    Start();
    Edit("txtMessage")->setText(QString(40, QLatin1Char('M')));
    Press("cmdVELT(6)");
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pDisplay->Received().size() >= 40; }, 2000));
    EXPECT_EQ(m_pDisplay->Received(), QByteArray(40, 'M'));
}

// Odd parity with 7 data bits asked of a pseudo-terminal (the simulator): the line keeps its
// 8 data bits and no parity, the command goes through, and the status box's tool tip says why.
TEST_F(FaultMatrix, ParityAPseudoTerminalCannotCarryIsExplained) {
    Start();
    Combo("cboParity")->setCurrentIndex(1); // "ODD": o,7,1
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
    EXPECT_EQ(Edit("txtStatus")->toolTip(),
              m_pDisplay->SlavePath() +
                  " is a pseudo-terminal: it carries 8 data bits and no parity whatever is asked.");
}

} // namespace
