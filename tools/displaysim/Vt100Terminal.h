#pragma once

#include <QByteArray>

class CellScreen;
struct DisplayState;

// The display in VT100 mode: a 4x20 terminal that prints every byte it does not understand,
// wraps at once after the last column and scrolls from the last line; BS, LF, CR; ESC [2J,
// ESC [0K, ESC [Py;PxH. It answers ESC [0c with its identification and ESC T with its
// cells, and takes ESC B n (brightness) and ESC R n (country code).
class Vt100Terminal {
public:
    struct Step {
        QByteArray answer;
    };

    Vt100Terminal(CellScreen& io_screen, DisplayState& io_state, QByteArray i_bIdentification);

    Step Feed(quint8 i_cByte);

private:
    Step escape(quint8 i_cByte);
    Step endSequence(const QByteArray& i_bAnswer = {});
    Step waitForMore() { return {}; }
    void print(quint8 i_cByte);
    void lineFeed();

    CellScreen& m_screen;
    DisplayState& m_state;
    QByteArray m_bIdentification;
    bool m_blnEscape = false;
    // The bytes after ESC, ESC excluded.
    QByteArray m_bEscape;
};
