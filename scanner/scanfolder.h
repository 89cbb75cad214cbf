#pragma once

#include <QString>
#include <QStringList>

// The folder scanned pages are written to, with a trailing "/", created
// when missing: "scanImage" in the program's folder when pages can be
// written there, else "scanImage" in the user's writable data folder (an
// installed program's folder is usually read-only). Empty when neither can
// be written.
QString scanImageFolder(const QString& programDir);

// Where scanImageFolder looks, in its order: "scanImage" in the program's
// folder, then in the user's data folder (when there is one).
QStringList scanFolderCandidates(const QString& programDir);
