#pragma once

#include <QJsonObject>
#include <QString>

// The readers' one rule: a key is read only when present, and a value of
// another JSON type gives the conversion's default (0, false, empty).
inline void readKey(const QJsonObject& obj, const QString& key, int& field)
{
    if (obj.contains(key))
        field = obj.value(key).toInt();
}

inline void readKey(const QJsonObject& obj, const QString& key, double& field)
{
    if (obj.contains(key))
        field = obj.value(key).toDouble();
}

inline void readKey(const QJsonObject& obj, const QString& key, bool& field)
{
    if (obj.contains(key))
        field = obj.value(key).toBool();
}

inline void readKey(const QJsonObject& obj, const QString& key, QString& field)
{
    if (obj.contains(key))
        field = obj.value(key).toString();
}
