#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

// A JSON object that keeps its keys in the order they were added (QJsonObject sorts them),
// written as one compact line. Each value is encoded by QJsonDocument.
class JsonLine {
public:
    JsonLine& Add(const QString& i_sKey, const QJsonValue& i_value);
    // An array of objects, each in its own key order.
    JsonLine& AddObjects(const QString& i_sKey, const QList<JsonLine>& i_objects);
    // Every key of i_other, after the keys already here.
    JsonLine& Append(const JsonLine& i_other);

    // {"key":value,...}
    QByteArray Compact() const;

private:
    QList<QPair<QString, QByteArray>> m_fields; // key, encoded value
};
