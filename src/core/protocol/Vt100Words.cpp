#include "core/protocol/Vt100Words.h"

#include "core/protocol/DisplayText.h"
#include "core/protocol/Vt100StreamParser.h"
#include "core/settings/SelectionLists.h"

namespace {

// A cursor parameter as written; an empty one counts as 0.
QString parameter(const QByteArray& i_bText) {
    const QByteArray trimmed = i_bText.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("0") : QString::fromLatin1(trimmed);
}

QString escape(const QByteArray& i_bBody) {
    const int n = i_bBody.size() > 1 ? static_cast<quint8>(i_bBody.at(1)) : 0;
    switch (i_bBody.at(0)) {
    case 'T':
        return QStringLiteral("ESC T read the screen");
    case 'B':
        return QStringLiteral("ESC B %1 brightness %2%")
            .arg(QLatin1Char(static_cast<char>(n)))
            .arg(100 - 25 * (n - '0'));
    case 'R':
        return QStringLiteral("ESC R %1 country code %2")
            .arg(n)
            .arg(SelectionLists::Countries().value(n));
    default:
        break;
    }
    if (i_bBody == "[2J") {
        return QStringLiteral("ESC [2J clear the screen");
    }
    if (i_bBody == "[0K") {
        return QStringLiteral("ESC [0K clear to the end of the line");
    }
    if (i_bBody == "[0c") {
        return QStringLiteral("ESC [0c identification request");
    }
    QByteArray line;
    QByteArray column;
    Vt100StreamParser::CursorParameters(i_bBody, line, column);
    return QStringLiteral("ESC %1 cursor to line %2, column %3")
        .arg(QString::fromLatin1(i_bBody), parameter(line), parameter(column));
}

} // namespace

namespace Vt100Words {

QString Sequence(const QByteArray& i_bBytes) {
    switch (static_cast<quint8>(i_bBytes.at(0))) {
    case 0x08:
        return QStringLiteral("BS");
    case 0x0A:
        return QStringLiteral("LF");
    case 0x0D:
        return QStringLiteral("CR");
    default:
        return escape(i_bBytes.mid(1));
    }
}

QString Identification(const QByteArray& i_bBytes) {
    return QStringLiteral("identification ") + DisplayText::Quoted(i_bBytes.mid(1));
}

} // namespace Vt100Words
