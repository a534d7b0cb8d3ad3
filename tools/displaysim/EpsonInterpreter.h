#pragma once

#include <QByteArray>

class CellScreen;
struct DisplayState;

// The display's EPSON customer-display command set and its plain text: cursor moves, clears,
// toggles, initialise, self-test, positioning, character sets, blink, the three write modes,
// peripheral selection and the aux-device pass-through. Text bytes are stored in the cells
// as they arrive (the utility has already mapped them through its character table), 0xB2
// lighting every dot of its cell.
class EpsonInterpreter {
public:
    struct Step {
        // The bytes of the command, character or pass-through that has just ended; empty
        // while a sequence is still coming in.
        QByteArray bytes;
        // ESC "Load": the display switches to its loader.
        bool enterLoader = false;
    };

    EpsonInterpreter(CellScreen& io_screen, DisplayState& io_state);

    Step Feed(quint8 i_cByte);

    // True when no escape sequence is half received.
    bool Idle() const { return m_bSequence.isEmpty(); }

    // What ESC @ does: blank screen, cursor home and shown, over-write, default sets, output
    // to the display. Saved layers are kept.
    void Initialise();

private:
    Step feedDisplay(quint8 i_cByte);
    Step feedAuxOnly(quint8 i_cByte);
    Step command();
    Step finishSequence();
    int parametersWanted() const;
    void runEscape(char i_cCode, const QByteArray& i_bParams);
    void runUnitSeparator(char i_cCode, const QByteArray& i_bParams);
    void runControl(quint8 i_cByte);
    void write(quint8 i_cByte);
    void cursorRight();
    void cursorLeft();
    void cursorDown();
    void cursorUp();
    void selfTest();

    CellScreen& m_screen;
    DisplayState& m_state;
    QByteArray m_bSequence;
    // Horizontal-scroll mode: the last column is written, the next character shifts the line.
    bool m_blnLineFull = false;
};
