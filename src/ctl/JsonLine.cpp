#include "ctl/JsonLine.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A single value as QJsonDocument writes it: the one element of an array, brackets taken off.
QByteArray encoded(const QJsonValue& i_value) {
    const QByteArray array = QJsonDocument(QJsonArray{i_value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
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
