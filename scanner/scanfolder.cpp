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

QStringList scanFolderCandidates(const QString& programDir)
{
    QStringList folders;
    if (!programDir.isEmpty())
        folders.append(QDir(programDir).filePath(QStringLiteral("scanImage")));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!data.isEmpty())
        folders.append(QDir(data).filePath(QStringLiteral("scanImage")));
    return folders;
}

QString scanImageFolder(const QString& programDir)
{
    for (const QString& folder : scanFolderCandidates(programDir))
        if (usable(folder))
            return folder + QLatin1Char('/');
    return QString();
}
