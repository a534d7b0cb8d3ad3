#include "ctl/JsonLine.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A single value as QJsonDocument writes it: the one element of an array, brackets taken off.
// QJsonDocument escapes C0 controls only; DEL and the C1 controls (UTF-8 C2 80..C2 9F) are
// escaped here too, so that a reply from the display never reaches a terminal as a control.
QByteArray encoded(const QJsonValue& i_value) {
    const QByteArray array = QJsonDocument(QJsonArray{i_value}).toJson(QJsonDocument::Compact);
    QByteArray out;
    out.reserve(array.size());
    for (qsizetype i = 1; i < array.size() - 1; ++i) {
        const auto b = static_cast<quint8>(array[i]);
        const bool c1 = b == 0xC2 && i + 1 < array.size() - 1 &&
                        static_cast<quint8>(array[i + 1]) >= 0x80 &&
                        static_cast<quint8>(array[i + 1]) <= 0x9F;
        if (b == 0x7F || c1) {
            const int code = c1 ? static_cast<quint8>(array[++i]) : b;
            out += "\\u00" + QByteArray::number(code, 16);
        } else {
            out += array[i];
        }
    }
    return out;
}

} // namespace

JsonLine& JsonLine::Add(const QString& i_sKey, const QJsonValue& i_value) {
    m_fields.append({i_sKey, encoded(i_value)});
    return *this;
}

JsonLine& JsonLine::AddObjects(const QString& i_sKey, const QList<JsonLine>& i_objects) {
    QByteArray array("[");
    for (qsizetype i = 0; i < i_objects.size(); ++i) {
        if (i > 0) {
            array += ',';
        }
        array += i_objects[i].Compact();
    }
    m_fields.append({i_sKey, array + ']'});
    return *this;
}

JsonLine& JsonLine::Append(const JsonLine& i_other) {
    m_fields.append(i_other.m_fields);
    return *this;
}

QByteArray JsonLine::Compact() const {
    QByteArray line("{");
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += encoded(m_fields[i].first) + ':' + m_fields[i].second;
    }
    return line + '}';
}
