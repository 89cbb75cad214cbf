#include "scanner/scanfolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Made and able to take a new file: permissions alone do not tell (a
// read-only mount, or a root user whom every mode lets in).
bool usable(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString scanImageFolder(const QString& programDir)
{
    const QString beside = QDir(programDir).filePath(QStringLiteral("scanImage"));
    if (!programDir.isEmpty() && usable(beside))
        return beside + QLatin1Char('/');
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (data.isEmpty())
        return QString();
    const QString own = QDir(data).filePath(QStringLiteral("scanImage"));
    return usable(own) ? own + QLatin1Char('/') : QString();
}
