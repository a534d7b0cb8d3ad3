#include "ctl/ArgumentValues.h"

#include "core/settings/SelectionLists.h"

#include <QByteArray>
#include <algorithm>
#include <cctype>

namespace ArgumentValues {

std::optional<int> InRange(const QString& i_sText, int i_iFirst, int i_iLast) {
    bool ok = false;
    const int value = i_sText.trimmed().toInt(&ok, 10);
    if (!ok || value < i_iFirst || value > i_iLast) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ListRow(const QString& i_sText, const QStringList& i_list) {
    if (const std::optional<int> index = InRange(i_sText, 0, int(i_list.size()) - 1)) {
        return index;
    }
    for (qsizetype i = 0; i < i_list.size(); ++i) {
        if (i_list[i].compare(i_sText.trimmed(), Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return std::nullopt;
}

std::optional<int> InternationalCode(const QString& i_sText) {
    const QStringList rows = SelectionLists::InternationalCodes();
    if (const std::optional<int> row = ListRow(i_sText, rows)) {
        return row;
    }
    const QString text = i_sText.trimmed();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString code = rows[i].section(QLatin1Char(':'), 0, 0);
        const QString country = rows[i].section(QStringLiteral(": "), 1);
        if (code.compare(text, Qt::CaseInsensitive) == 0 ||
            country.compare(text, Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return std::nullopt;
}

std::optional<QString> BaudRate(const QString& i_sText) {
    if (SelectionLists::BaudRates().contains(i_sText.trimmed())) {
        return i_sText.trimmed();
    }
    return std::nullopt;
}

std::optional<QString> Parity(const QString& i_sText) {
    const QString parity = i_sText.trimmed().toUpper();
    if (SelectionLists::Parities().contains(parity)) {
        return parity;
    }
    return std::nullopt;
}

QByteArray HexBytes(const QStringList& i_words) {
    QByteArray bytes;
    for (const QString& word : i_words) {
        const QByteArray digits = word.toLatin1();
        const bool hex = !digits.isEmpty() && digits.size() % 2 == 0 &&
                         std::all_of(digits.begin(), digits.end(), [](char c) {
                             return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                         });
        if (!hex) {
            return QByteArray();
        }
        bytes += QByteArray::fromHex(digits);
    }
    return bytes;
}

std::optional<int> CodeType(const QString& i_sText) {
    const QStringList rows = {QStringLiteral("Encripted - PX"),
                              QStringLiteral("Not Encripted - ZX")};
    if (const std::optional<int> row = ListRow(i_sText, rows)) {
        return row;
    }
    const QString kind = i_sText.trimmed().toUpper();
    if (kind == QLatin1String("PX")) {
        return 0;
    }
    if (kind == QLatin1String("ZX")) {
        return 1;
    }
    return std::nullopt;
}

} // namespace ArgumentValues
