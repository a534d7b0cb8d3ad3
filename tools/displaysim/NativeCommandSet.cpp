#include "NativeCommandSet.h"

#include "CellScreen.h"
#include "DisplayState.h"

#include <QStringList>

namespace {
const QByteArray kAck("\x06", 1);
const QByteArray kNak("\x15", 1);

const char* baudName(char i_cCode) {
    switch (i_cCode) {
    case '0':
        return "19200";
    case '1':
        return "9600";
    case '2':
        return "4800";
    case '3':
        return "2400";
    case '4':
        return "1200";
    case '5':
        return "600";
    case '6':
        return "300/38400";
    default:
        return nullptr;
    }
}

const char* parityName(char i_cCode) {
    switch (i_cCode) {
    case 'N':
        return "NONE";
    case 'O':
        return "ODD";
    case 'E':
        return "EVEN";
    default:
        return nullptr;
    }
}

QString layerName(int i_iCombination) {
    static const QStringList names{QStringLiteral("1"),        QStringLiteral("2"),
                                   QStringLiteral("3"),        QStringLiteral("1 + 2"),
                                   QStringLiteral("1 + 3"),    QStringLiteral("2 + 3"),
                                   QStringLiteral("1 + 2 + 3")};
    return names.value(i_iCombination - 1);
}

QString modeName(int i_iMode) {
    static const QStringList names{QStringLiteral("1 (horizontal scroll)"),
                                   QStringLiteral("2 (vertical scroll)"),
                                   QStringLiteral("3 (blinking)"),
                                   QStringLiteral("1 + 2"),
                                   QStringLiteral("1 + 3"),
                                   QStringLiteral("2 + 3"),
                                   QStringLiteral("1 + 2 + 3")};
    return names.value(i_iMode - 1);
}

// The first layer of a combination 1..7 (1, 2, 3, 1+2, 1+3, 2+3, 1+2+3).
int firstLayer(int i_iCombination) {
    static const int first[] = {1, 2, 3, 1, 1, 2, 1};
    return first[i_iCombination - 1];
}

NativeCommandSet::Outcome refused(const QString& i_sWhy) {
    return {kNak, QStringLiteral("refused: ") + i_sWhy, false};
}

NativeCommandSet::Outcome accepted(const QString& i_sMeaning) {
    return {kAck, i_sMeaning, true};
}
} // namespace

NativeCommandSet::NativeCommandSet(CellScreen& io_screen, DisplayState& io_state,
                                   QByteArray i_bVersion)
    : m_screen(io_screen), m_state(io_state), m_bVersion(std::move(i_bVersion)) {}

NativeCommandSet::Outcome NativeCommandSet::Execute(const QByteArray& i_bFrame,
                                                    bool i_blnRefuseAll) const {
    if (i_bFrame.size() < 4 || static_cast<quint8>(i_bFrame.back()) != 0x17) {
        return refused(QStringLiteral("frame without ETB"));
    }
    const char letter = i_bFrame[2];
    const QByteArray params = i_bFrame.mid(3, i_bFrame.size() - 4);
    if (i_blnRefuseAll) {
        return refused(QStringLiteral("every frame (NAK mode), command '%1'").arg(letter));
    }
    return apply(letter, params);
}

NativeCommandSet::Outcome NativeCommandSet::apply(char i_cLetter,
                                                  const QByteArray& i_bParams) const {
    const int count = static_cast<int>(i_bParams.size());
    const int p1 = count > 0 ? static_cast<quint8>(i_bParams[0]) : -1;
    const int p2 = count > 1 ? static_cast<quint8>(i_bParams[1]) : -1;
    const auto wrongCount = [&](int i_iWanted) {
        return refused(QStringLiteral("'%1' takes %2 parameter byte(s), got %3")
                           .arg(i_cLetter)
                           .arg(i_iWanted)
                           .arg(count));
    };
    const int cells = m_screen.CellCount();

    switch (i_cLetter) {
    case 'B': {
        if (count != 2) {
            return wrongCount(2);
        }
        const char* baud = baudName(static_cast<char>(p1));
        const char* parity = parityName(static_cast<char>(p2));
        if (baud == nullptr || parity == nullptr) {
            return refused(QStringLiteral("unknown baud-rate or parity code"));
        }
        m_state.baudCode = static_cast<char>(p1);
        m_state.parityCode = static_cast<char>(p2);
        ++m_state.baudChanges;
        return accepted(QStringLiteral("set baud rate %1, parity %2")
                            .arg(QLatin1String(baud), QLatin1String(parity)));
    }
    case 'I':
        if (count != 1) {
            return wrongCount(1);
        }
        if (p1 < 0x30 || p1 > 0x3E) {
            return refused(QStringLiteral("international code out of 0..14"));
        }
        m_state.internationalSet = p1 - 0x30;
        return accepted(QStringLiteral("set international code %1").arg(p1 - 0x30));
    case 'S':
        if (count != 1) {
            return wrongCount(1);
        }
        if (p1 < 0x31 || p1 > 0x33) {
            return refused(QStringLiteral("layer out of 1..3"));
        }
        m_state.layers[static_cast<size_t>(p1 - 0x31)] = m_screen.Cells();
        return accepted(QStringLiteral("save current view to layer %1").arg(p1 - 0x30));
    case 'P':
        if (count != 1) {
            return wrongCount(1);
        }
        if (p1 < 0x31 || p1 > 0x30 + cells) {
            return refused(QStringLiteral("position out of 1..%1").arg(cells));
        }
        m_screen.SetCursorCell(p1 - 0x31);
        return accepted(QStringLiteral("cursor to position %1").arg(p1 - 0x30));
    case 'C':
        if (count != 2) {
            return wrongCount(2);
        }
        if (p1 < 0x31 || p2 > 0x30 + cells || p1 > p2) {
            return refused(QStringLiteral("clear range not within 1..%1").arg(cells));
        }
        m_screen.ClearCells(p1 - 0x31, p2 - 0x31);
        return accepted(QStringLiteral("clear cells %1 to %2").arg(p1 - 0x30).arg(p2 - 0x30));
    case 'D': {
        if (count != 2) {
            return wrongCount(2);
        }
        if (p1 < 0x31 || p1 > 0x37 || p2 < 0x31 || p2 > 0x37) {
            return refused(QStringLiteral("demo layer or mode out of 1..7"));
        }
        m_state.demoLayers = p1 - 0x30;
        m_state.demoMode = p2 - 0x30;
        const QByteArray& layer = m_state.layers[static_cast<size_t>(firstLayer(p1 - 0x30) - 1)];
        if (!layer.isEmpty()) {
            m_screen.SetCells(layer);
        }
        return accepted(QStringLiteral("demo message of layer %1, mode %2")
                            .arg(layerName(p1 - 0x30), modeName(p2 - 0x30)));
    }
    case 'O':
        if (count != 1) {
            return wrongCount(1);
        }
        if (p1 != 0x30 && p1 != 0x31) {
            return refused(QStringLiteral("start-up mode not 0 or 1"));
        }
        m_state.startupMode = p1 - 0x30;
        return accepted(QStringLiteral("start-up mode %1")
                            .arg(p1 == 0x30 ? QStringLiteral("stay")
                                            : QStringLiteral("running (saved message)")));
    case 'T': {
        if (count != 0) {
            return wrongCount(0);
        }
        QByteArray reply("\x01", 1);
        reply += m_screen.Cells();
        reply += '\x17';
        return {reply, QStringLiteral("read message"), true};
    }
    case 'V':
        if (count != 0) {
            return wrongCount(0);
        }
        return {m_bVersion, QStringLiteral("read version"), true};
    default:
        return refused(QStringLiteral("unknown command letter 0x%1")
                           .arg(static_cast<quint8>(i_cLetter), 2, 16, QLatin1Char('0')));
    }
}
