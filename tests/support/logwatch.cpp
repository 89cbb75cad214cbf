#include "tests/support/logwatch.h"

#include "model/infra/logger.h"

#include <QFile>

namespace logwatch {

LogWatch::LogWatch()
{
    QFile file(QString::fromUtf8(logFileName));
    start = file.exists() ? file.size() : 0;
}

QStringList LogWatch::newRecords() const
{
    QFile file(QString::fromUtf8(logFileName));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(start))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QStringList LogWatch::newRecords(const QString& levelName, const QString& label) const
{
    const QString marker = QStringLiteral("[%1]\t%2").arg(levelName, label);
    QStringList matching;
    for (const QString& line : newRecords()) {
        if (line.contains(marker))
            matching.append(line);
    }
    return matching;
}

} // namespace logwatch
