#pragma once

#include "ByteLog.h"
#include "CellScreen.h"
#include "DisplayState.h"
#include "EpsonInterpreter.h"
#include "LoaderDialogue.h"
#include "NativeCommandSet.h"
#include "NativeFrameParser.h"
#include "Vt100Terminal.h"
#include "XModemReceiver.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The simulated customer display, without any I/O: bytes in, the bytes it answers at once
// out, and its screen and settings to look at.
//
//   DisplayEmulator display;                        // 2x20, native + EPSON command sets
//   display.Receive("\x04\x01\x49\x34\x17");        // returns "\x06", international set 4
//   display.Receive("HI");                          // cells 0 and 1 show H and I
//   display.Receive("\x04\x01\x54\x17");            // returns 01, the 40 cells, 17
//
// With Options::vt100 it is a 4x20 VT100 terminal instead. ESC "Load" switches it to its
// loader (see LoaderDialogue); Poll() gives the bytes it sends on its own, about once a second.
// Blank cells hold spaces (0x20).
class DisplayEmulator {
public:
    enum class Mode { Display, Loader, Vt100 };

    struct Options {
        bool vt100 = false;
        // Answer NAK to every native frame, with no effect.
        bool refuseAllFrames = false;
        // The loader's XModem receiver asks with "C" (CRC-16) or NAK (8-bit checksum).
        bool crc = true;
        XModemReceiver::Faults transferFaults;
        // The reply to "V", sent as it stands (at least four bytes).
        QByteArray version = QByteArrayLiteral("V1.07");
        // The VT100 answer to ESC [0c.
        QByteArray identification = QByteArrayLiteral("\x1b[?1;2;3;4;5c");
    };

    DisplayEmulator();
    explicit DisplayEmulator(const Options& i_options);
    // The command sets hold references into the emulator: it stays where it was made.
    DisplayEmulator(const DisplayEmulator&) = delete;
    DisplayEmulator& operator=(const DisplayEmulator&) = delete;

    // Interprets the bytes; returns what the display answers straight away.
    QByteArray Receive(const QByteArray& i_bBytes);

    // Bytes the display sends on its own (the loader's repeated start request). Call it about
    // once a second.
    QByteArray Poll();

    const Options& Settings() const { return m_options; }
    Mode CurrentMode() const { return m_mode; }
    QString ModeName() const;

    // The screen: 2x20, or 4x20 in VT100 mode.
    const CellScreen& Screen() const { return *m_pScreen; }
    int Rows() const { return m_pScreen->Rows(); }
    int Columns() const { return m_pScreen->Columns(); }
    QByteArray Cells() const { return m_pScreen->Cells(); }
    // A line of cells as text through the display's character set (0-based line).
    QString LineText(int i_iRow) const;
    int CursorRow() const { return m_pScreen->CursorRow(); }
    int CursorColumn() const { return m_pScreen->CursorColumn(); }
    bool CursorVisible() const { return m_pScreen->CursorVisible(); }
    // A cell showing 0xB2 has all its dots lit.
    bool FullyLit(int i_iCell) const;

    // Baud rate, character sets, layers, write mode, peripheral, pass-through bytes...
    const DisplayState& State() const { return m_state; }
    QByteArray PassThrough() const { return m_state.passThrough; }

    // Everything received and answered, with its meaning: the entries that have ended, then
    // what is still under way.
    QVector<LogEntry> Log() const { return m_log.All(); }
    const ByteLog& Journal() const { return m_log; }
    QByteArray ReceivedBytes() const { return m_bReceived; }

    // The loader, while the display is in it (nullptr otherwise).
    const LoaderDialogue* Loader() const { return m_pLoader.get(); }
    // The image of the last transfer (blocks accepted so far, padding included), whether it
    // ended with EOT, and how often the display rebooted from its loader.
    QByteArray ReceivedImage() const;
    bool ImageComplete() const;
    int Reboots() const { return m_iReboots; }

    // Changes whenever anything visible changes (cells, cursor, mode, log).
    quint64 Revision() const { return m_iRevision; }

private:
    QByteArray receiveDisplay(quint8 i_cByte);
    QByteArray receiveLoader(quint8 i_cByte);
    QByteArray receiveVt100(quint8 i_cByte);
    QByteArray executeFrame(const QByteArray& i_bFrame, bool i_blnOverlong);
    QByteArray interpret(quint8 i_cByte);
    void enterLoader();
    void reboot();
    void showLoaderStatus();

    Options m_options;
    Mode m_mode = Mode::Display;
    std::unique_ptr<CellScreen> m_pScreen;
    DisplayState m_state;
    NativeFrameParser m_frames;
    std::unique_ptr<NativeCommandSet> m_pNative;
    std::unique_ptr<EpsonInterpreter> m_pEpson;
    std::unique_ptr<Vt100Terminal> m_pVt100;
    std::unique_ptr<LoaderDialogue> m_pLoader;
    QByteArray m_bLastImage;
    bool m_blnLastImageComplete = false;
    int m_iReboots = 0;
    ByteLog m_log;
    QByteArray m_bReceived;
    quint64 m_iRevision = 0;
};
