#pragma once

// Helpers for the headless suites: temporary folders and a watchdog that
// fails a test instead of letting a modal loop hang the run.

#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace testsupport {

// A fresh folder that is removed with the object.
class ScratchDir
{
public:
    ScratchDir();
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
};

// Writes bytes to a file, creating or replacing it; true on success.
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Runs `action` from the event loop after `delayMs`. Use it to answer a
// modal dialog before calling its exec().
void later(int delayMs, std::function<void()> action);

// Aborts the process with a message when a test takes longer than
// `seconds`; a modal dialog that never closes would otherwise block CI.
class Watchdog
{
public:
    explicit Watchdog(int seconds = 60);
    ~Watchdog();

private:
    int token;
};

} // namespace testsupport
