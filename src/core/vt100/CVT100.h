#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// In-memory model of the character screen of a display in VT100 mode. It takes the same
// character codes that the test window sends to the display, one at a time, and keeps the
// cells and the cursor that the display should show: printable characters with immediate wrap
// and scroll, BS, LF, CR, and the escape sequences ESC [2J, ESC [0K, ESC [0c and
// ESC [Py;PxH. ESC R with two characters and every other escape are swallowed. It neither
// sends nor receives anything.
//
// Line and column numbers on the interface are 1-based; inside they are 0-based.
class CVT100 {
public:
    // 4 lines of 20 columns, every cell 0, cursor home, not in an escape sequence.
    CVT100();

    // Replaces the grid by one of i_iRow lines and i_iCol columns, every cell 0. A count below
    // 1 is refused and leaves the model as it was. The escape state is kept; a cursor that
    // would stand outside a smaller grid moves to the nearest cell of it.
    void SetDisplaySize(qint16 i_iRow, qint16 i_iCol);

    // The write-only property Key: processes one character code.
    void setKey(qint16 i_iAsc);

    // The cursor's line and column, 1-based.
    void GetCursorPosition(qint16& o_iCursorY, qint16& o_iCursorX) const;

    // Element i receives the cell of line i / columns, column i % columns. An array with
    // fewer elements than the grid has cells is refused and left unchanged; elements past the
    // grid are left as they are.
    void GetData(std::vector<qint16>& o_iData) const;

    // Cell i receives byte i, in the order of GetData. Cells past the end of the array keep
    // their value; bytes past the end of the grid are ignored.
    void SetData(const QByteArray& i_bData);

    // For diagnostics (the tests and the fuzzer): whether an escape sequence is being
    // collected, and the characters received since its ESC.
    bool InEscape() const { return m_blnEscape; }
    QString EscapeBuffer() const { return m_sEscape; }

private:
    qint16& Cell(qint16 i_iRow, qint16 i_iCol);
    void LineFeed();
    void ScrollUp();
    void ClearScreen();
    void ClearToEndOfLine();
    void ProcessEscapeChar(qint16 i_iAsc);
    // Decides on a buffer that begins with "[": true to keep waiting for more characters.
    bool ProcessBracket();
    void EndEscape();

    qint16 m_iRows = 4;
    qint16 m_iCols = 20;
    std::vector<qint16> m_iScreen; // m_iRows x m_iCols, row by row
    qint16 m_iCursorX = 0;
    qint16 m_iCursorY = 0;
    bool m_blnEscape = false;
    QString m_sEscape;
};
