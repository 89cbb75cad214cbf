#pragma once

// Reads back the records the program's file logger appends while a test
// runs. Other suites' shards share the log file, so look for your label
// rather than counting every line.

#include <QStringList>

namespace logwatch {

class LogWatch
{
public:
    LogWatch();                     // remembers where the log ends now
    QStringList newRecords() const; // records appended since
    // Records appended since whose text starts with `label` at `levelName`
    // ("Fatal", "Error", ...).
    QStringList newRecords(const QString& levelName, const QString& label) const;

private:
    qint64 start = 0;
};

} // namespace logwatch
