#include "Vt100Terminal.h"

#include "CellScreen.h"
#include "DisplayState.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {
constexpr quint8 kEsc = 0x1B;

// A parameter as the terminal reads it: spaces, an optional sign, digits with an optional
// fraction, spaces. An empty parameter counts as 0.
//
// Only the space is a blank here. The display prints TAB, VT and FF like any other code, so it
// has no reason to skip them inside a parameter, and LF or CR there is no blank to it either: a
// parameter with a control code in it is not a number, and the sequence is dropped at that code
// (ESC [3 VT ;7H prints ";7H"). The program's screen model (CVT100) reads its parameters the
// same way.
bool readNumber(const QByteArray& i_bText, double& o_dValue) {
    // Anchored at the very end: "$" alone would also match before a final LF.
    static const QRegularExpression number(
        QRegularExpression::anchoredPattern(QStringLiteral(" *[+-]?(\\d+\\.?\\d*|\\.\\d+) *")));
    const QString text = QString::fromLatin1(i_bText);
    if (text.isEmpty()) {
        o_dValue = 0;
        return true;
    }
    if (!number.match(text).hasMatch()) {
        return false;
    }
    o_dValue = text.trimmed().toDouble();
    return true;
}

int nearestEven(double i_dValue) {
    // Positions are clamped to the screen afterwards; keep huge ones representable first.
    return static_cast<int>(std::nearbyint(std::clamp(i_dValue, -1e6, 1e6)));
}
} // namespace

Vt100Terminal::Vt100Terminal(CellScreen& io_screen, DisplayState& io_state,
                             QByteArray i_bIdentification)
    : m_screen(io_screen), m_state(io_state), m_bIdentification(std::move(i_bIdentification)) {}

Vt100Terminal::Step Vt100Terminal::Feed(quint8 i_cByte) {
    if (m_blnEscape) {
        return escape(i_cByte);
    }
    switch (i_cByte) {
    case kEsc:
        m_blnEscape = true;
        m_bEscape.clear();
        return {};
    case 0x08:
        if (m_screen.CursorColumn() > 0) {
            m_screen.SetCursor(m_screen.CursorRow(), m_screen.CursorColumn() - 1);
        }
        return {};
    case 0x0A:
        lineFeed();
        return {};
    case 0x0D:
        m_screen.SetCursor(m_screen.CursorRow(), 0);
        return {};
    default:
        print(i_cByte);
        return {};
    }
}

void Vt100Terminal::print(quint8 i_cByte) {
    m_screen.SetCell(m_screen.CursorRow(), m_screen.CursorColumn(), i_cByte);
    if (m_screen.CursorColumn() + 1 < m_screen.Columns()) {
        m_screen.SetCursor(m_screen.CursorRow(), m_screen.CursorColumn() + 1);
    } else {
        m_screen.SetCursor(m_screen.CursorRow(), 0);
        lineFeed();
    }
}

void Vt100Terminal::lineFeed() {
    if (m_screen.CursorRow() + 1 < m_screen.Rows()) {
        m_screen.SetCursor(m_screen.CursorRow() + 1, m_screen.CursorColumn());
    } else {
        m_screen.ScrollUp();
    }
}

Vt100Terminal::Step Vt100Terminal::endSequence(const QByteArray& i_bAnswer) {
    Step step{i_bAnswer};
    m_blnEscape = false;
    m_bEscape.clear();
    return step;
}

Vt100Terminal::Step Vt100Terminal::escape(quint8 i_cByte) {
    m_bEscape.append(static_cast<char>(i_cByte));
    const QByteArray& b = m_bEscape;
    switch (b[0]) {
    case 'T':
        return endSequence(m_screen.Cells());
    case 'B':
        if (b.size() < 2) {
            return waitForMore();
        }
        if (b[1] < '0' || b[1] > '3') {
            return endSequence();
        }
        m_state.brightness = b[1] - '0';
        return endSequence();
    case 'R': {
        if (b.size() < 2) {
            return waitForMore();
        }
        const int code = static_cast<quint8>(b[1]);
        if (code > 12) {
            return endSequence();
        }
        m_state.countryCode = code;
        return endSequence();
    }
    case '[':
        break;
    default:
        return endSequence();
    }

    if (b == "[2J") {
        m_screen.Clear();
        return endSequence();
    }
    if (b == "[0K") {
        m_screen.ClearCells(m_screen.CursorCell(),
                            m_screen.CursorRow() * m_screen.Columns() + m_screen.Columns() - 1);
        return endSequence();
    }
    if (b == "[0c") {
        return endSequence(m_bIdentification);
    }
    double p1 = 0;
    double p2 = 0;
    const int semicolon = static_cast<int>(b.indexOf(';'));
    if (semicolon < 0) {
        if (readNumber(b.mid(1), p1)) {
            return waitForMore();
        }
        return endSequence();
    }
    const bool final = b.endsWith('H');
    const QByteArray second = b.mid(semicolon + 1, b.size() - semicolon - 1 - (final ? 1 : 0));
    if (!readNumber(b.mid(1, semicolon - 1), p1) || !readNumber(second, p2)) {
        return endSequence();
    }
    if (!final) {
        return waitForMore();
    }
    m_screen.SetCursor(nearestEven(p1 - 1), nearestEven(p2 - 1));
    return endSequence();
}
