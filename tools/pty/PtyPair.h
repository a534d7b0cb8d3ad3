#pragma once

#include <QByteArray>
#include <QString>
#include <limits>

// A pseudo-terminal pair in raw mode (every byte passes, 8 bits, no echo, no line editing),
// with the master side non-blocking. A program opens SlavePath() as its serial port; the owner
// plays the far end of the line on the master side.
//
// The pair keeps its own slave descriptor open for its lifetime, so that reads on the master
// never fail with EIO while the program has its port closed. Close() drops both sides: the
// program then sees its peer gone, as when a cable is pulled.
class PtyPair {
public:
    // Opens a pair; IsOpen() says whether one could be had.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return m_iMaster >= 0; }
    // The path the program opens, e.g. /dev/pts/4.
    QString SlavePath() const { return m_sSlavePath; }
    int MasterFd() const { return m_iMaster; }
    int SlaveFd() const { return m_iSlave; }

    // Writes i_bBytes to the master side. While the line is full (a program that does not
    // read) it waits up to 50 ms at a time, at most i_iMaxStalls times (-1: for as long as it
    // takes). Returns how many bytes went out.
    qsizetype Write(const QByteArray& i_bBytes, int i_iMaxStalls = -1);

    // Whatever the program wrote and is waiting on the master side, without blocking.
    QByteArray ReadAvailable();

    // Reads until i_iCount bytes have come or i_iTimeoutMs passed (blocking, no event loop).
    QByteArray ReadFor(int i_iTimeoutMs,
                       qsizetype i_iCount = std::numeric_limits<qsizetype>::max());

    // Closes both sides; the pair is not open afterwards.
    void Close();

    // Puts a terminal descriptor into raw mode.
    static void MakeRaw(int i_iFd);

private:
    int m_iMaster = -1;
    int m_iSlave = -1;
    QString m_sSlavePath;
};
