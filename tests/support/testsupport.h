#pragma once

// Helpers for the headless suites: temporary folders, a watchdog that
// fails a test instead of letting a modal loop hang the run, and damaged
// picture files.

#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <string>

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

// Every file under `folder`, hidden ones and those of its subfolders
// too, by its path inside `folder`, with a digest of its bytes.
std::map<std::string, std::string> fileDigests(const QString& folder);

// Runs the disabled tests that `filter` names of this binary in a process
// of their own, in `workFolder`, with `added` in its environment.
struct ChildRun
{
    bool passed = false;   // ended by itself, with every test passed
    bool killed = false;   // ended by SIGKILL
    QByteArray output;     // standard output and error
};
ChildRun runDisabledTests(const QString& filter, const QProcessEnvironment& added, const QString& workFolder);

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

// Picture files as a forger or a broken transfer leaves them: `image` as
// `format` ("jpg", "png", ...); a JPEG of a few hundred bytes whose header
// declares width x height pixels; a whole JPEG with an unexpected marker
// half-way through its data, which the decoder complains about.
QByteArray encoded(const QImage& image, const char* format);
QByteArray jpegDeclaring(int width, int height);
QByteArray jpegWithCorruptData(const QImage& image);

// Starts a new peak of the resident memory (/proc/self/clear_refs), false
// when the system does not allow it; the peak since (VmHWM) in bytes.
bool resetPeakMemory();
qint64 peakMemory();

} // namespace testsupport
