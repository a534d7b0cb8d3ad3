#include "core/vt100/CVT100.h"

#include "core/common/NumberText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr qint16 kEsc = 27;
constexpr qint16 kBs = 8;
constexpr qint16 kLf = 10;
constexpr qint16 kCr = 13;

// A sequence parameter: an empty text counts as 0, anything else must read wholly as a
// number ("2." on the way to "2.5" already does).
//
// The blanks a number may stand between are spaces only. The display prints TAB, VT and FF like
// any other code, so it has no reason to skip them inside a parameter, and LF or CR there is no
// blank to it either: a parameter with a control code in it is not a number, and the sequence
// is dropped at that code (ESC [3 VT ;7H prints ";7H"). The simulator's terminal reads its
// parameters the same way.
std::optional<double> Parameter(const QString& i_sText) {
    if (i_sText.isEmpty()) {
        return 0.0;
    }
    for (const QChar c : i_sText) {
        if (c.unicode() < 0x20) {
            return std::nullopt;
        }
    }
    return NumberText::WholeNumber(i_sText);
}

// The 0-based position for a 1-based parameter, rounded half to even and kept on the grid.
qint16 GridIndex(double i_dParameter, qint16 i_iCount) {
    const double index = NumberText::RoundHalfEven(i_dParameter - 1.0);
    const double last = static_cast<double>(i_iCount) - 1.0;
    if (!(index > 0.0)) { // below 0 (and -inf)
        return 0;
    }
    if (index > last) {
        return static_cast<qint16>(i_iCount - 1);
    }
    return static_cast<qint16>(index);
}

} // namespace

CVT100::CVT100() : m_iScreen(static_cast<size_t>(m_iRows) * static_cast<size_t>(m_iCols), 0) {}

qint16& CVT100::Cell(qint16 i_iRow, qint16 i_iCol) {
    return m_iScreen[static_cast<size_t>(i_iRow) * static_cast<size_t>(m_iCols) +
                     static_cast<size_t>(i_iCol)];
}

void CVT100::SetDisplaySize(qint16 i_iRow, qint16 i_iCol) {
    if (i_iRow < 1 || i_iCol < 1) {
        return;
    }
    m_iRows = i_iRow;
    m_iCols = i_iCol;
    m_iScreen.assign(static_cast<size_t>(m_iRows) * static_cast<size_t>(m_iCols), 0);
    m_iCursorY = std::min<qint16>(m_iCursorY, static_cast<qint16>(m_iRows - 1));
    m_iCursorX = std::min<qint16>(m_iCursorX, static_cast<qint16>(m_iCols - 1));
}

void CVT100::setKey(qint16 i_iAsc) {
    if (m_blnEscape) {
        ProcessEscapeChar(i_iAsc);
        return;
    }
    switch (i_iAsc) {
    case kEsc:
        m_blnEscape = true;
        m_sEscape.clear();
        return;
    case kBs:
        // BS never moves to the previous line.
        if (m_iCursorX > 0) {
            --m_iCursorX;
        }
        return;
    case kLf:
        LineFeed();
        return;
    case kCr:
        m_iCursorX = 0;
        return;
    default:
        break;
    }
    // Everything else is shown, control and high codes included. The wrap follows the write
    // to the last column at once.
    Cell(m_iCursorY, m_iCursorX) = i_iAsc;
    if (m_iCursorX < m_iCols - 1) {
        ++m_iCursorX;
    } else {
        m_iCursorX = 0;
        LineFeed();
    }
}

void CVT100::GetCursorPosition(qint16& o_iCursorY, qint16& o_iCursorX) const {
    o_iCursorY = static_cast<qint16>(m_iCursorY + 1);
    o_iCursorX = static_cast<qint16>(m_iCursorX + 1);
}

void CVT100::GetData(std::vector<qint16>& o_iData) const {
    if (o_iData.size() < m_iScreen.size()) {
        return;
    }
    std::copy(m_iScreen.begin(), m_iScreen.end(), o_iData.begin());
}

void CVT100::SetData(const QByteArray& i_bData) {
    const size_t count = std::min(m_iScreen.size(), static_cast<size_t>(i_bData.size()));
    for (size_t i = 0; i < count; ++i) {
        m_iScreen[i] = static_cast<quint8>(i_bData[static_cast<qsizetype>(i)]);
    }
}

void CVT100::LineFeed() {
    if (m_iCursorY < m_iRows - 1) {
        ++m_iCursorY;
    } else {
        ScrollUp();
    }
}

void CVT100::ScrollUp() {
    const auto width = static_cast<std::ptrdiff_t>(m_iCols);
    std::copy(m_iScreen.begin() + width, m_iScreen.end(), m_iScreen.begin());
    std::fill(m_iScreen.end() - width, m_iScreen.end(), 0);
}

void CVT100::ClearScreen() {
    std::fill(m_iScreen.begin(), m_iScreen.end(), 0);
}

void CVT100::ClearToEndOfLine() {
    for (qint16 col = m_iCursorX; col < m_iCols; ++col) {
        Cell(m_iCursorY, col) = 0;
    }
}

void CVT100::EndEscape() {
    m_sEscape.clear();
    m_blnEscape = false;
}

void CVT100::ProcessEscapeChar(qint16 i_iAsc) {
    m_sEscape.append(QChar(static_cast<char16_t>(i_iAsc)));
    bool wait = false;
    if (m_sEscape.startsWith(u'[')) {
        wait = ProcessBracket();
    } else if (m_sEscape.startsWith(u'R')) {
        // ESC R and the two characters that follow it.
        wait = m_sEscape.size() < 3;
    }
    // Anything else directly after ESC (a second ESC, BS, LF, CR...) is swallowed.
    if (!wait) {
        EndEscape();
    }
}

bool CVT100::ProcessBracket() {
    const QString& b = m_sEscape;
    if (b.size() == 3) {
        if (b == u"[2J") {
            ClearScreen();
            return false;
        }
        if (b == u"[0K") {
            ClearToEndOfLine();
            return false;
        }
        if (b == u"[0c") {
            return false; // the identification request: the display answers, the screen stays
        }
    }
    const qsizetype semicolon = b.indexOf(u';');
    if (semicolon < 0) {
        // ESC [ and a number so far: more may follow.
        return Parameter(b.mid(1)).has_value();
    }
    const bool final = b.endsWith(u'H');
    QString second = b.mid(semicolon + 1);
    if (final) {
        second.chop(1);
    }
    const std::optional<double> line = Parameter(b.mid(1, semicolon - 1));
    const std::optional<double> column = Parameter(second);
    if (!line || !column) {
        return false;
    }
    if (!final) {
        return true;
    }
    m_iCursorY = GridIndex(*line, m_iRows);
    m_iCursorX = GridIndex(*column, m_iCols);
    return false;
}
