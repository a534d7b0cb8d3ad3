#include "core/common/NumberText.h"

#include "core/common/LumoError.h"

#include <cmath>

namespace NumberText {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Scans sign, digits and fraction from position i, skipping blanks when i_blnSkipInner is set.
// Returns the text of the number in C form and moves i past it.
QString scanNumber(const QString& s, qsizetype& i, bool i_blnSkipInner, bool& o_blnDigits) {
    QString out;
    o_blnDigits = false;
    auto skip = [&] {
        while (i_blnSkipInner && i < s.size() && isBlank(s[i])) {
            ++i;
        }
    };
    skip();
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        out.append(s[i++]);
        skip();
    }
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        out.append(s[i++]);
        o_blnDigits = true;
        skip();
    }
    if (i < s.size() && s[i] == u'.') {
        out.append(s[i++]);
        skip();
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            out.append(s[i++]);
            o_blnDigits = true;
            skip();
        }
    }
    return out;
}

double toDouble(const QString& text) {
    QString t = text;
    if (t.endsWith(u'.')) {
        t.chop(1);
    }
    if (t.startsWith(u'.') || t.startsWith(u"-.") || t.startsWith(u"+.")) {
        t.insert(t.indexOf(u'.'), u'0');
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    // A run of digits too long for a double reads as an infinity of its sign, not as 0.
    return ok || std::isinf(v) ? v : 0.0;
}

} // namespace

double LeadingNumber(const QString& i_sText) {
    qsizetype i = 0;
    bool digits = false;
    const QString number = scanNumber(i_sText, i, true, digits);
    return digits ? toDouble(number) : 0.0;
}

std::optional<double> WholeNumber(const QString& i_sText) {
    qsizetype i = 0;
    while (i < i_sText.size() && isBlank(i_sText[i])) {
        ++i;
    }
    bool digits = false;
    const QString number = scanNumber(i_sText, i, false, digits);
    while (i < i_sText.size() && isBlank(i_sText[i])) {
        ++i;
    }
    if (!digits || i != i_sText.size()) {
        return std::nullopt;
    }
    return toDouble(number);
}

double RoundHalfEven(double i_dValue) {
    if (!std::isfinite(i_dValue)) {
        return i_dValue;
    }
    const double floorValue = std::floor(i_dValue);
    const double fraction = i_dValue - floorValue;
    if (fraction > 0.5) {
        return floorValue + 1.0;
    }
    if (fraction < 0.5) {
        return floorValue;
    }
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

qint16 ToInt16(double i_dValue) {
    const double rounded = RoundHalfEven(i_dValue);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw LumoError(LumoErrorNumber::Overflow, QStringLiteral("Overflow"));
    }
    return static_cast<qint16>(rounded);
}

qint16 ReadInt16(const QString& i_sText) {
    return ToInt16(LeadingNumber(i_sText));
}

} // namespace NumberText
