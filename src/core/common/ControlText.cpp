#include "core/common/ControlText.h"

namespace ControlText {

bool IsControl(char16_t i_cCode) {
    return i_cCode < 0x20 || (i_cCode >= 0x7F && i_cCode <= 0x9F);
}

QString Escaped(const QString& i_sText) {
    QString out;
    out.reserve(i_sText.size());
    for (const QChar c : i_sText) {
        if (IsControl(c.unicode())) {
            out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace ControlText
