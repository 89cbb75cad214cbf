#pragma once

#include <QByteArray>
#include <QString>

// Whether some object of the JSON text names one key twice; `key` is then
// the first such key. Qt's parser keeps the last value of a repeated key
// and never frees the earlier one when that is an array or an object, so
// template files are looked at with this before they are parsed. Text that
// is no JSON at all is left to the parser to refuse.
bool findRepeatedKey(const QByteArray& json, QString& key);
