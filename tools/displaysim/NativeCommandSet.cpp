#include "NativeCommandSet.h"

#include "CellScreen.h"
#include "DisplayState.h"

namespace {
const QByteArray kAck("\x06", 1);
const QByteArray kNak("\x15", 1);

// The first layer of a combination 1..7 (1, 2, 3, 1+2, 1+3, 2+3, 1+2+3).
int firstLayer(int i_iCombination) {
    static const int first[] = {1, 2, 3, 1, 1, 2, 1};
    return first[i_iCombination - 1];
}

const NativeCommandSet::Outcome kRefused{kNak, false};
const NativeCommandSet::Outcome kAccepted{kAck, true};

bool knownBaudCode(int i_iCode) {
    return i_iCode >= '0' && i_iCode <= '6';
}

bool knownParityCode(int i_iCode) {
    return i_iCode == 'N' || i_iCode == 'O' || i_iCode == 'E';
}
} // namespace

NativeCommandSet::NativeCommandSet(CellScreen& io_screen, DisplayState& io_state,
                                   QByteArray i_bVersion)
    : m_screen(io_screen), m_state(io_state), m_bVersion(std::move(i_bVersion)) {}

NativeCommandSet::Outcome NativeCommandSet::Execute(const QByteArray& i_bFrame,
                                                    bool i_blnRefuseAll) const {
    if (i_bFrame.size() < 4 || static_cast<quint8>(i_bFrame.back()) != 0x17 || i_blnRefuseAll) {
        return kRefused;
    }
    return apply(i_bFrame[2], i_bFrame.mid(3, i_bFrame.size() - 4));
}

NativeCommandSet::Outcome NativeCommandSet::apply(char i_cLetter,
                                                  const QByteArray& i_bParams) const {
    const int count = static_cast<int>(i_bParams.size());
    const int p1 = count > 0 ? static_cast<quint8>(i_bParams[0]) : -1;
    const int p2 = count > 1 ? static_cast<quint8>(i_bParams[1]) : -1;
    const int cells = m_screen.CellCount();
    // Each letter takes a fixed number of parameter bytes; any other count is refused.
    const auto takes = [count](int i_iWanted) { return count == i_iWanted; };

    switch (i_cLetter) {
    case 'B':
        if (!takes(2) || !knownBaudCode(p1) || !knownParityCode(p2)) {
            return kRefused;
        }
        m_state.baudCode = static_cast<char>(p1);
        m_state.parityCode = static_cast<char>(p2);
        ++m_state.baudChanges;
        return kAccepted;
    case 'I': // international code 0..14
        if (!takes(1) || p1 < 0x30 || p1 > 0x3E) {
            return kRefused;
        }
        m_state.internationalSet = p1 - 0x30;
        return kAccepted;
    case 'S': // layer 1..3
        if (!takes(1) || p1 < 0x31 || p1 > 0x33) {
            return kRefused;
        }
        m_state.layers[static_cast<size_t>(p1 - 0x31)] = m_screen.Cells();
        return kAccepted;
    case 'P': // position 1..cells
        if (!takes(1) || p1 < 0x31 || p1 > 0x30 + cells) {
            return kRefused;
        }
        m_screen.SetCursorCell(p1 - 0x31);
        return kAccepted;
    case 'C': // cells start..end within 1..cells
        if (!takes(2) || p1 < 0x31 || p2 > 0x30 + cells || p1 > p2) {
            return kRefused;
        }
        m_screen.ClearCells(p1 - 0x31, p2 - 0x31);
        return kAccepted;
    case 'D': { // layer combination and mode, each 1..7
        if (!takes(2) || p1 < 0x31 || p1 > 0x37 || p2 < 0x31 || p2 > 0x37) {
            return kRefused;
        }
        m_state.demoLayers = p1 - 0x30;
        m_state.demoMode = p2 - 0x30;
        const QByteArray& layer = m_state.layers[static_cast<size_t>(firstLayer(p1 - 0x30) - 1)];
        if (!layer.isEmpty()) {
            m_screen.SetCells(layer);
        }
        return kAccepted;
    }
    case 'O': // start-up mode: 0 stay, 1 running
        if (!takes(1) || (p1 != 0x30 && p1 != 0x31)) {
            return kRefused;
        }
        m_state.startupMode = p1 - 0x30;
        return kAccepted;
    case 'T': {
        if (!takes(0)) {
            return kRefused;
        }
        QByteArray reply("\x01", 1);
        reply += m_screen.Cells();
        reply += '\x17';
        return {reply, true};
    }
    case 'V':
        if (!takes(0)) {
            return kRefused;
        }
        return {m_bVersion, true};
    default:
        return kRefused;
    }
}
