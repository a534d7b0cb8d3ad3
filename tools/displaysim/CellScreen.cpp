#include "CellScreen.h"

#include <algorithm>

namespace {
constexpr quint8 kBlank = 0x20;
}

CellScreen::CellScreen(int i_iRows, int i_iColumns)
    : m_iRows(std::max(1, i_iRows)), m_iColumns(std::max(1, i_iColumns)),
      m_cells(static_cast<size_t>(m_iRows * m_iColumns), kBlank),
      m_reversed(static_cast<size_t>(m_iRows * m_iColumns), false) {}

bool CellScreen::inside(int i_iRow, int i_iColumn) const {
    return i_iRow >= 0 && i_iRow < m_iRows && i_iColumn >= 0 && i_iColumn < m_iColumns;
}

quint8 CellScreen::Cell(int i_iRow, int i_iColumn) const {
    return inside(i_iRow, i_iColumn) ? m_cells[static_cast<size_t>(index(i_iRow, i_iColumn))]
                                     : kBlank;
}

bool CellScreen::Reversed(int i_iRow, int i_iColumn) const {
    return inside(i_iRow, i_iColumn) && m_reversed[static_cast<size_t>(index(i_iRow, i_iColumn))];
}

void CellScreen::SetCell(int i_iRow, int i_iColumn, quint8 i_cByte, bool i_blnReversed) {
    if (inside(i_iRow, i_iColumn)) {
        m_cells[static_cast<size_t>(index(i_iRow, i_iColumn))] = i_cByte;
        m_reversed[static_cast<size_t>(index(i_iRow, i_iColumn))] = i_blnReversed;
    }
}

QByteArray CellScreen::Cells() const {
    return QByteArray(reinterpret_cast<const char*>(m_cells.data()),
                      static_cast<qsizetype>(m_cells.size()));
}

void CellScreen::SetCells(const QByteArray& i_bCells) {
    const auto count = std::min<size_t>(m_cells.size(), static_cast<size_t>(i_bCells.size()));
    for (size_t i = 0; i < count; ++i) {
        m_cells[i] = static_cast<quint8>(i_bCells[static_cast<qsizetype>(i)]);
        m_reversed[i] = false;
    }
}

QByteArray CellScreen::Row(int i_iRow) const {
    return Cells().mid(static_cast<qsizetype>(i_iRow) * m_iColumns, m_iColumns);
}

void CellScreen::SetCursor(int i_iRow, int i_iColumn) {
    m_iCursorRow = std::clamp(i_iRow, 0, m_iRows - 1);
    m_iCursorColumn = std::clamp(i_iColumn, 0, m_iColumns - 1);
}

void CellScreen::SetCursorCell(int i_iCell) {
    const int cell = std::clamp(i_iCell, 0, CellCount() - 1);
    SetCursor(cell / m_iColumns, cell % m_iColumns);
}

void CellScreen::Clear() {
    ClearCells(0, CellCount() - 1);
}

void CellScreen::ClearRow(int i_iRow) {
    if (i_iRow >= 0 && i_iRow < m_iRows) {
        ClearCells(index(i_iRow, 0), index(i_iRow, m_iColumns - 1));
    }
}

void CellScreen::ClearCells(int i_iFirst, int i_iLast) {
    const int first = std::max(0, i_iFirst);
    const int last = std::min(CellCount() - 1, i_iLast);
    for (int i = first; i <= last; ++i) {
        m_cells[static_cast<size_t>(i)] = kBlank;
        m_reversed[static_cast<size_t>(i)] = false;
    }
}

void CellScreen::ScrollUp() {
    std::rotate(m_cells.begin(), m_cells.begin() + m_iColumns, m_cells.end());
    std::rotate(m_reversed.begin(), m_reversed.begin() + m_iColumns, m_reversed.end());
    ClearRow(m_iRows - 1);
}

void CellScreen::ScrollDown() {
    std::rotate(m_cells.rbegin(), m_cells.rbegin() + m_iColumns, m_cells.rend());
    std::rotate(m_reversed.rbegin(), m_reversed.rbegin() + m_iColumns, m_reversed.rend());
    ClearRow(0);
}

void CellScreen::ShiftRowLeft(int i_iRow) {
    if (i_iRow < 0 || i_iRow >= m_iRows) {
        return;
    }
    for (int c = 0; c + 1 < m_iColumns; ++c) {
        m_cells[static_cast<size_t>(index(i_iRow, c))] =
            m_cells[static_cast<size_t>(index(i_iRow, c + 1))];
        m_reversed[static_cast<size_t>(index(i_iRow, c))] =
            m_reversed[static_cast<size_t>(index(i_iRow, c + 1))];
    }
    SetCell(i_iRow, m_iColumns - 1, kBlank);
}
