#include "EpsonInterpreter.h"

#include "CellScreen.h"
#include "DisplayState.h"
#include "core/protocol/DisplayStreamParser.h"

namespace {
constexpr quint8 kEsc = 0x1B;
constexpr quint8 kUs = 0x1F;

bool flagParameter(quint8 i_cByte, bool& o_blnOn) {
    if (i_cByte == 0x00 || i_cByte == 0x30) {
        o_blnOn = false;
        return true;
    }
    if (i_cByte == 0x01 || i_cByte == 0x31) {
        o_blnOn = true;
        return true;
    }
    return false;
}

} // namespace

EpsonInterpreter::EpsonInterpreter(CellScreen& io_screen, DisplayState& io_state)
    : m_screen(io_screen), m_state(io_state) {}

void EpsonInterpreter::Initialise() {
    m_screen.Clear();
    m_screen.SetCursor(0, 0);
    m_screen.SetCursorVisible(true);
    m_state.reverse = false;
    m_state.blinkInterval = 0;
    m_state.writeMode = DisplayState::WriteMode::OverWrite;
    m_state.internationalSet = 0;
    m_state.codeTable = 0;
    m_state.peripheral = DisplayState::Peripheral::Display;
    m_blnLineFull = false;
}

EpsonInterpreter::Step EpsonInterpreter::Feed(quint8 i_cByte) {
    if (m_state.peripheral == DisplayState::Peripheral::AuxDevice) {
        return feedAuxOnly(i_cByte);
    }
    const bool both = m_state.peripheral == DisplayState::Peripheral::Both;
    Step step = feedDisplay(i_cByte);
    // With both selected every byte reaches the aux device too, except the selections.
    if (both && !step.bytes.isEmpty()) {
        const bool selection =
            step.bytes.size() >= 2 && static_cast<quint8>(step.bytes[0]) == kEsc &&
            (step.bytes[1] == '=' || step.bytes[1] == 'G' || step.bytes[1] == 'S');
        if (!selection) {
            m_state.passThrough += step.bytes;
        }
    }
    return step;
}

// Only the aux device listens: the display watches for ESC = n and ESC S to take the line back
// and forwards everything else.
EpsonInterpreter::Step EpsonInterpreter::feedAuxOnly(quint8 i_cByte) {
    m_bSequence.append(static_cast<char>(i_cByte));
    if (static_cast<quint8>(m_bSequence[0]) != kEsc) {
        Step step{m_bSequence, false};
        m_state.passThrough += m_bSequence;
        m_bSequence.clear();
        return step;
    }
    if (m_bSequence.size() == 1 || (m_bSequence.size() == 2 && m_bSequence[1] == '=')) {
        return {};
    }
    if (m_bSequence[1] == '=' || m_bSequence[1] == 'S' || m_bSequence[1] == 'G') {
        return finishSequence();
    }
    Step step{m_bSequence, false};
    m_state.passThrough += m_bSequence;
    m_bSequence.clear();
    return step;
}

EpsonInterpreter::Step EpsonInterpreter::feedDisplay(quint8 i_cByte) {
    if (!m_bSequence.isEmpty()) {
        m_bSequence.append(static_cast<char>(i_cByte));
        if (m_bSequence.size() < 2 + parametersWanted()) {
            return {};
        }
        return finishSequence();
    }
    if (i_cByte == kEsc || i_cByte == kUs) {
        m_bSequence.append(static_cast<char>(i_cByte));
        return {};
    }
    if (i_cByte >= 0x20) {
        write(i_cByte);
        return {QByteArray(1, static_cast<char>(i_cByte)), false};
    }
    m_bSequence.append(static_cast<char>(i_cByte));
    runControl(i_cByte);
    return command();
}

EpsonInterpreter::Step EpsonInterpreter::command() {
    Step step{m_bSequence, false};
    m_bSequence.clear();
    return step;
}

// Parameter bytes after ESC x or US x: the same table the line decoder reads the stream with.
int EpsonInterpreter::parametersWanted() const {
    if (m_bSequence.size() < 2) {
        return 0;
    }
    return DisplayStreamParser::ParametersWanted(static_cast<quint8>(m_bSequence[0]),
                                                 static_cast<quint8>(m_bSequence[1]));
}

EpsonInterpreter::Step EpsonInterpreter::finishSequence() {
    const char code = m_bSequence[1];
    const QByteArray params = m_bSequence.mid(2);
    if (static_cast<quint8>(m_bSequence[0]) == kEsc) {
        if (code == 'L') {
            Step step = command();
            step.enterLoader = params == "oad";
            return step;
        }
        runEscape(code, params);
        return command();
    }
    runUnitSeparator(code, params);
    return command();
}

void EpsonInterpreter::runControl(quint8 i_cByte) {
    m_blnLineFull = false;
    switch (i_cByte) {
    case 0x08: // BS
        cursorLeft();
        break;
    case 0x09: // HT
        cursorRight();
        break;
    case 0x0A: // LF
        cursorDown();
        break;
    case 0x0B: // HOM
        m_screen.SetCursor(0, 0);
        break;
    case 0x0C: // CLR
        m_screen.Clear();
        m_screen.SetCursor(0, 0);
        break;
    case 0x0D: // CR
        m_screen.SetCursor(m_screen.CursorRow(), 0);
        break;
    case 0x18: // CAN
        m_screen.ClearRow(m_screen.CursorRow());
        m_screen.SetCursor(m_screen.CursorRow(), 0);
        break;
    default: // any other control byte is ignored
        break;
    }
}

void EpsonInterpreter::runEscape(char i_cCode, const QByteArray& i_bParams) {
    const int n = i_bParams.isEmpty() ? -1 : static_cast<quint8>(i_bParams[0]);
    switch (i_cCode) {
    case '@':
        Initialise();
        break;
    case 'G':
        m_state.peripheral = DisplayState::Peripheral::AuxDevice;
        break;
    case 'S':
        m_state.peripheral = DisplayState::Peripheral::Display;
        break;
    case '=': // peripheral 1..3; anything else is ignored
        if (n >= 1 && n <= 3) {
            m_state.peripheral = static_cast<DisplayState::Peripheral>(n);
        }
        break;
    case 'R': // national set 0..14
        if (n <= 14) {
            m_state.internationalSet = n;
        }
        break;
    case 't':
        m_state.codeTable = n;
        break;
    default: // an unknown ESC sequence is ignored
        break;
    }
}

void EpsonInterpreter::runUnitSeparator(char i_cCode, const QByteArray& i_bParams) {
    const int n = i_bParams.isEmpty() ? -1 : static_cast<quint8>(i_bParams[0]);
    bool on = false;
    m_blnLineFull = false;
    switch (i_cCode) {
    case 0x0A:
        cursorUp();
        break;
    case 'B':
        m_screen.SetCursor(m_screen.Rows() - 1, 0);
        break;
    case 0x0D:
        m_screen.SetCursor(m_screen.CursorRow(), m_screen.Columns() - 1);
        break;
    case 0x01:
    case 0x02:
    case 0x03:
        m_state.writeMode = static_cast<DisplayState::WriteMode>(i_cCode);
        break;
    case 'C':
        if (flagParameter(static_cast<quint8>(n), on)) {
            m_screen.SetCursorVisible(on);
        }
        break;
    case 'r':
        if (flagParameter(static_cast<quint8>(n), on)) {
            m_state.reverse = on;
        }
        break;
    case 'E':
        m_state.blinkInterval = n;
        break;
    case '@':
        selfTest();
        break;
    case '$': {
        // Column x, line y; a position outside the screen is ignored.
        const int x = n;
        const int y = static_cast<quint8>(i_bParams[1]);
        if (x >= 1 && x <= m_screen.Columns() && y >= 1 && y <= m_screen.Rows()) {
            m_screen.SetCursor(y - 1, x - 1);
        }
        break;
    }
    default: // an unknown US sequence is ignored
        break;
    }
}

void EpsonInterpreter::write(quint8 i_cByte) {
    const int row = m_screen.CursorRow();
    const int last = m_screen.Columns() - 1;
    if (m_state.writeMode == DisplayState::WriteMode::HorizontalScroll) {
        if (m_blnLineFull) {
            m_screen.ShiftRowLeft(row);
        }
        m_screen.SetCell(row, m_screen.CursorColumn(), i_cByte, m_state.reverse);
        if (m_screen.CursorColumn() < last) {
            m_screen.SetCursor(row, m_screen.CursorColumn() + 1);
        } else {
            m_blnLineFull = true;
        }
        return;
    }
    m_screen.SetCell(row, m_screen.CursorColumn(), i_cByte, m_state.reverse);
    cursorRight();
}

void EpsonInterpreter::cursorRight() {
    const int row = m_screen.CursorRow();
    const int column = m_screen.CursorColumn();
    if (column + 1 < m_screen.Columns()) {
        m_screen.SetCursor(row, column + 1);
    } else if (row + 1 < m_screen.Rows()) {
        m_screen.SetCursor(row + 1, 0);
    } else if (m_state.writeMode == DisplayState::WriteMode::VerticalScroll) {
        m_screen.ScrollUp();
        m_screen.SetCursor(row, 0);
    } else if (m_state.writeMode == DisplayState::WriteMode::OverWrite) {
        m_screen.SetCursor(0, 0);
    }
}

void EpsonInterpreter::cursorLeft() {
    const int row = m_screen.CursorRow();
    const int column = m_screen.CursorColumn();
    if (column > 0) {
        m_screen.SetCursor(row, column - 1);
    } else if (row > 0) {
        m_screen.SetCursor(row - 1, m_screen.Columns() - 1);
    } else if (m_state.writeMode == DisplayState::WriteMode::OverWrite) {
        m_screen.SetCursor(m_screen.Rows() - 1, m_screen.Columns() - 1);
    }
}

void EpsonInterpreter::cursorDown() {
    const int row = m_screen.CursorRow();
    if (row + 1 < m_screen.Rows()) {
        m_screen.SetCursor(row + 1, m_screen.CursorColumn());
    } else if (m_state.writeMode == DisplayState::WriteMode::VerticalScroll) {
        m_screen.ScrollUp();
    } else {
        m_screen.SetCursor(0, m_screen.CursorColumn());
    }
}

void EpsonInterpreter::cursorUp() {
    const int row = m_screen.CursorRow();
    if (row > 0) {
        m_screen.SetCursor(row - 1, m_screen.CursorColumn());
    } else if (m_state.writeMode == DisplayState::WriteMode::VerticalScroll) {
        m_screen.ScrollDown();
    } else {
        m_screen.SetCursor(m_screen.Rows() - 1, m_screen.CursorColumn());
    }
}

// First line a title, the other lines a run of the character set, so that every dot column
// and the character generator can be checked by eye.
void EpsonInterpreter::selfTest() {
    ++m_state.selfTests;
    m_screen.Clear();
    const QByteArray title =
        QByteArray("SELF TEST").rightJustified(14).leftJustified(m_screen.Columns());
    for (int c = 0; c < m_screen.Columns(); ++c) {
        m_screen.SetCell(0, c, static_cast<quint8>(title[c]));
    }
    int code = 0x21;
    for (int r = 1; r < m_screen.Rows(); ++r) {
        for (int c = 0; c < m_screen.Columns(); ++c) {
            m_screen.SetCell(r, c, static_cast<quint8>(code++));
        }
    }
    m_screen.SetCursor(0, 0);
}
