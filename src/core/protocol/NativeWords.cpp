#include "core/protocol/NativeWords.h"

#include "core/protocol/DisplayText.h"
#include "core/protocol/NativeFrames.h"
#include "core/settings/SelectionLists.h"

namespace {

// Parameter bytes each command letter takes.
int parametersOf(char i_cLetter) {
    switch (i_cLetter) {
    case 'B':
    case 'C':
    case 'D':
        return 2;
    case 'I':
    case 'S':
    case 'P':
    case 'O':
        return 1;
    case 'T':
    case 'V':
        return 0;
    default:
        return -1;
    }
}

// Entry i of a list, or the number itself with a note when the list has no such entry.
QString entry(const QStringList& i_list, int i_iIndex, int i_iShown) {
    const QString text = i_list.value(i_iIndex);
    return text.isEmpty() ? QStringLiteral("%1 (not in the list)").arg(i_iShown) : text;
}

QString baudRate(quint8 i_cBaud, quint8 i_cParity) {
    const QString baud = NativeFrames::BaudRateText(static_cast<char>(i_cBaud));
    const QString parity = NativeFrames::ParityText(static_cast<char>(i_cParity));
    return QStringLiteral("set baud rate %1, parity %2")
        .arg(baud.isEmpty()
                 ? QStringLiteral("(unknown code %1)").arg(i_cBaud, 2, 16, QLatin1Char('0'))
                 : baud,
             parity.isEmpty()
                 ? QStringLiteral("(unknown code %1)").arg(i_cParity, 2, 16, QLatin1Char('0'))
                 : parity);
}

// p1 and p2 are the parameter values: the bytes less "0".
QString command(const QByteArray& i_bFrame, int p1, int p2) {
    switch (i_bFrame.at(2)) {
    case 'B':
        return baudRate(static_cast<quint8>(i_bFrame.at(3)), static_cast<quint8>(i_bFrame.at(4)));
    case 'I': {
        const QString set = SelectionLists::InternationalCodes().value(p1);
        return set.isEmpty() ? QStringLiteral("set international code %1 (no such set)").arg(p1)
                             : QStringLiteral("set international code %1").arg(set);
    }
    case 'S':
        return QStringLiteral("save the message to layer %1").arg(p1);
    case 'P':
        return QStringLiteral("cursor to position %1").arg(p1);
    case 'C':
        return QStringLiteral("clear cells %1..%2").arg(p1).arg(p2);
    case 'O':
        return QStringLiteral("show the saved message after reboot: %1")
            .arg(entry(SelectionLists::RebootModes(), p1, p1));
    case 'D':
        // The demonstration's parameters count from "1".
        return QStringLiteral("demo message: %1, %2")
            .arg(entry(SelectionLists::Layers(), p1 - 1, p1),
                 entry(SelectionLists::ModesA(), p2 - 1, p2));
    case 'T':
        return QStringLiteral("read the message");
    case 'V':
        return QStringLiteral("read the version");
    default:
        return QString();
    }
}

} // namespace

namespace NativeWords {

QString Frame(const QByteArray& i_bFrame, bool i_blnMalformed) {
    if (i_blnMalformed) {
        return QStringLiteral("native frame without ETB");
    }
    const char letter = i_bFrame.at(2);
    const int count = static_cast<int>(i_bFrame.size()) - 4;
    const QString shown = DisplayText::Quoted(i_bFrame.mid(2, 1));
    const int wanted = parametersOf(letter);
    if (wanted < 0) {
        return QStringLiteral("unknown native command %1").arg(shown);
    }
    if (count != wanted) {
        return QStringLiteral("native command %1 with the wrong number of parameter bytes (%2, "
                              "it takes %3)")
            .arg(shown)
            .arg(count)
            .arg(wanted);
    }
    const int p1 = count > 0 ? static_cast<quint8>(i_bFrame.at(3)) - 0x30 : 0;
    const int p2 = count > 1 ? static_cast<quint8>(i_bFrame.at(4)) - 0x30 : 0;
    return command(i_bFrame, p1, p2);
}

} // namespace NativeWords
