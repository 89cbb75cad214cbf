#include "model/repeatedkey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QVector>

namespace {

struct Level
{
    bool object = false;
    bool expectingKey = false;
    QSet<QString> keys;
};

// A key as the parser will compare it: with its escapes resolved, so
// "\u0061" and "a" are one key. A single string in an array has no keys
// to repeat, so reading it through the parser costs nothing lost.
QString keyText(const QByteArray& raw, bool escaped)
{
    if (!escaped)
        return QString::fromUtf8(raw);
    const QJsonDocument decoded = QJsonDocument::fromJson("[\"" + raw + "\"]");
    return decoded.isArray() ? decoded.array().at(0).toString() : QString::fromUtf8(raw);
}

} // namespace

bool findRepeatedKey(const QByteArray& json, QString& key)
{
    QVector<Level> levels;
    const char* at = json.constData();
    const char* const end = at + json.size();
    while (at < end) {
        const char c = *at++;
        if (c == '"') {
            const char* const start = at;
            bool escaped = false;
            while (at < end && *at != '"') {
                if (*at == '\\') {
                    escaped = true;
                    if (++at == end)
                        break;
                }
                ++at;
            }
            if (at >= end)
                return false;   // no closing quote: the parser refuses the text
            const QByteArray raw(start, static_cast<int>(at - start));
            ++at;
            if (levels.isEmpty() || !levels.last().object || !levels.last().expectingKey)
                continue;
            Level& object = levels.last();
            object.expectingKey = false;
            const QString text = keyText(raw, escaped);
            if (object.keys.contains(text)) {
                key = text;
                return true;
            }
            object.keys.insert(text);
        } else if (c == '{' || c == '[') {
            Level level;
            level.object = c == '{';
            level.expectingKey = level.object;
            levels.append(level);
        } else if (c == '}' || c == ']') {
            if (!levels.isEmpty())
                levels.removeLast();
        } else if (c == ',' && !levels.isEmpty() && levels.last().object) {
            levels.last().expectingKey = true;
        }
    }
    return false;
}
