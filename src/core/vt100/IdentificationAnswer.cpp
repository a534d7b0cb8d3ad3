#include "core/vt100/IdentificationAnswer.h"

#include <QStringList>

namespace IdentificationAnswer {

std::array<QString, 5> Fields(const QString& i_sAnswer) {
    // 0-based positions of the four separators and of the closing "c"; -1 when missing.
    std::array<qsizetype, 5> at{};
    qsizetype from = 0;
    for (size_t i = 0; i < at.size(); ++i) {
        const QChar delimiter = i < 4 ? u';' : u'c';
        at[i] = from < 0 ? -1 : i_sAnswer.indexOf(delimiter, from);
        from = at[i] < 0 ? -1 : at[i] + 1;
    }
    std::array<QString, 5> fields;
    // The type of display starts after the three leading characters.
    if (at[0] >= 3) {
        fields[0] = i_sAnswer.mid(3, at[0] - 3);
    }
    for (size_t i = 1; i < fields.size(); ++i) {
        if (at[i] >= 0) {
            fields[i] = i_sAnswer.mid(at[i - 1] + 1, at[i] - at[i - 1] - 1);
        }
    }
    return fields;
}

QString MessageText(const QString& i_sAnswer) {
    const std::array<QString, 5> f = Fields(i_sAnswer);
    const QStringList lines{
        QStringLiteral("Return Code: ") + i_sAnswer, QString(),
        QStringLiteral("Type of display : ") + f[0], QStringLiteral("PROM version : ") + f[1],
        QStringLiteral("Character set : ") + f[2],   QStringLiteral("Number of lines : ") + f[3],
        QStringLiteral("Column/line : ") + f[4],
    };
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace IdentificationAnswer
