#pragma once

#include <QByteArray>
#include <vector>

// A grid of character cells with a cursor, shared by the display's command sets. A blank cell
// holds a space (0x20). Rows and columns are 0-based here.
class CellScreen {
public:
    CellScreen(int i_iRows, int i_iColumns);

    int Rows() const { return m_iRows; }
    int Columns() const { return m_iColumns; }
    int CellCount() const { return m_iRows * m_iColumns; }

    quint8 Cell(int i_iRow, int i_iColumn) const;
    bool Reversed(int i_iRow, int i_iColumn) const;
    void SetCell(int i_iRow, int i_iColumn, quint8 i_cByte, bool i_blnReversed = false);

    // Every cell, row by row.
    QByteArray Cells() const;
    // Cells from index 0 upward; cells beyond the array keep their value.
    void SetCells(const QByteArray& i_bCells);
    QByteArray Row(int i_iRow) const;

    int CursorRow() const { return m_iCursorRow; }
    int CursorColumn() const { return m_iCursorColumn; }
    int CursorCell() const { return m_iCursorRow * m_iColumns + m_iCursorColumn; }
    // Clamped to the grid.
    void SetCursor(int i_iRow, int i_iColumn);
    void SetCursorCell(int i_iCell);

    bool CursorVisible() const { return m_blnCursorVisible; }
    void SetCursorVisible(bool i_blnVisible) { m_blnCursorVisible = i_blnVisible; }

    void Clear();
    void ClearRow(int i_iRow);
    // Cell indexes i_iFirst..i_iLast inclusive, limited to the grid.
    void ClearCells(int i_iFirst, int i_iLast);
    // Row k+1 onto row k; the last row becomes blank.
    void ScrollUp();
    // Row k onto row k+1; the first row becomes blank.
    void ScrollDown();
    // The row's cells move one column left; the last column becomes blank.
    void ShiftRowLeft(int i_iRow);

private:
    int index(int i_iRow, int i_iColumn) const { return i_iRow * m_iColumns + i_iColumn; }
    bool inside(int i_iRow, int i_iColumn) const;

    int m_iRows;
    int m_iColumns;
    std::vector<quint8> m_cells;
    std::vector<bool> m_reversed;
    int m_iCursorRow = 0;
    int m_iCursorColumn = 0;
    bool m_blnCursorVisible = true;
};
