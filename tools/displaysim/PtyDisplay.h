#pragma once

#include "DisplayEmulator.h"
#include "SpeedGate.h"
#include "pty/PtyPair.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <random>

class QSocketNotifier;
class QTimer;

// The simulated display attached to a pseudo-terminal, in the Qt event loop of the calling
// thread. The program under test opens SlavePath() as its serial port; this object reads the
// master side, feeds the emulator and writes its answers back.
//
// In an end-to-end test:
//
//   PtyDisplay display;                                   // opens its own pty (openpty)
//   qputenv("LUMOQ4_COM1", display.SlavePath().toLocal8Bit());
//   ... drive frmMain; its waits run the event loop, so the display answers ...
//   EXPECT_EQ(display.Emulator().LineText(0).trimmed(), "HI");
//
// The slave side stays open here for the object's lifetime, so that reads on the master do
// not fail while the program has its port closed. Fault modes come with the options:
// silent (never answers), every frame refused, late answers, noise after each answer, and a
// hang-up after a number of received bytes.
struct PtyDisplayOptions {
    DisplayEmulator::Options emulator;
    // Answers are dropped (the emulator still takes every command).
    bool silent = false;
    // Answers are written this many milliseconds after the bytes that caused them.
    int delayMs = 0;
    // After each answer, 1 to 4 random bytes follow noiseDelayMs later (seeded, repeatable).
    bool noise = false;
    quint32 noiseSeed = 1;
    int noiseDelayMs = 700;
    // Closes the line once this many bytes have been received (0: never).
    qint64 hangupAfter = 0;
    // Interval of Poll() on the emulator (the loader's repeated start request).
    int pollIntervalMs = 1000;
    // The display's line speed in baud. When the program's side of the line is set to another
    // speed, the display hears garbled bytes (see LineSpeed) and what it sends arrives garbled.
    // After acknowledging the native baud-rate command it moves to the new speed. 0: the
    // display follows whatever speed the program sets.
    int lineSpeed = 0;
    // Bytes that arrived are read this many milliseconds late, as on a loaded machine.
    int readDelayMs = 0;
};

class PtyDisplay : public QObject {
    Q_OBJECT
public:
    explicit PtyDisplay(const PtyDisplayOptions& i_options = PtyDisplayOptions(),
                        QObject* i_pParent = nullptr);
    ~PtyDisplay() override;
    PtyDisplay(const PtyDisplay&) = delete;
    PtyDisplay& operator=(const PtyDisplay&) = delete;

    // False when no pty could be opened.
    bool IsOpen() const { return m_pty.IsOpen(); }
    // The path the program opens, e.g. /dev/pts/4.
    QString SlavePath() const { return m_pty.SlavePath(); }
    int MasterFd() const { return m_pty.MasterFd(); }

    DisplayEmulator& Emulator() { return m_emulator; }
    const DisplayEmulator& Emulator() const { return m_emulator; }
    const PtyDisplayOptions& Options() const { return m_options; }

    // Everything read from the line and everything written to it (answers, noise, polls).
    QByteArray Received() const { return m_bReceived; }
    QByteArray Sent() const { return m_bSent; }

    // The display's own line speed (0: it follows the program's), and the speed the program
    // has set on its side of the line now (0 when unknown). The program's bytes are judged by
    // the speed in force when they were written (SpeedGate).
    int LineSpeed() const { return m_iLineSpeed; }
    int ProgramSpeed() const;

    // Closes the line now, as the hang-up fault does.
    void HangUp();
    bool HungUp() const { return m_blnHungUp; }

signals:
    // Bytes arrived and the emulator took them (its screen may have changed).
    void BytesReceived(const QByteArray& i_bBytes);
    // Bytes went out on the line.
    void BytesSent(const QByteArray& i_bBytes);
    // The screen, cursor, mode or log changed.
    void ScreenChanged();
    void LineClosed();

private:
    void onReadable();
    void readLine();
    void onPoll();
    // Sends the answer, then moves to i_iNewSpeed when it is not 0.
    void answer(const QByteArray& i_bBytes, int i_iNewSpeed = 0);
    void writeNow(const QByteArray& i_bBytes);
    void changeSpeed(int i_iNewSpeed);
    bool speedsDiffer() const;
    bool speedsDiffer(int i_iProgramSpeed) const;
    void scheduleNoise();

    PtyDisplayOptions m_options;
    DisplayEmulator m_emulator;
    PtyPair m_pty;
    SpeedGate m_gate;
    QSocketNotifier* m_pNotifier = nullptr;
    QTimer* m_pPollTimer = nullptr;
    QByteArray m_bReceived;
    QByteArray m_bSent;
    bool m_blnHungUp = false;
    int m_iLineSpeed = 0;
    std::mt19937 m_random;
};
