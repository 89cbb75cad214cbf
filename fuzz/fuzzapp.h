#pragma once

#include <QByteArray>
#include <QString>

// What both fuzz targets need before their first input: the application
// object on the offscreen platform (pictures become pixmaps, framing
// items are graphics items) and a scratch folder of their own.
namespace fuzzapp {

// Starts the application once; Qt's own start-up allocations are not
// counted as leaks.
void start(char* program);

// A folder made for this run and removed at exit.
QString scratchFolder();

// Writes `bytes` over the file at `path`; aborts when the disk refuses,
// since every later input would then be judged on a stale file.
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace fuzzapp
