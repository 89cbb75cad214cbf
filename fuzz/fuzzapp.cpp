#include "fuzz/fuzzapp.h"

#include "tests/support/startupallocations.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QApplication* application = nullptr;
QTemporaryDir* scratch = nullptr;
// Qt sees the program name only: the fuzzer's own flags are not Qt's.
int qtArgc = 1;
char* qtArgv[] = {nullptr, nullptr};

} // namespace

void fuzzapp::start(char* program)
{
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtArgv[0] = program;
    const testsupport::StartupAllocations qtStartup;
    application = new QApplication(qtArgc, qtArgv);
    scratch = new QTemporaryDir;
    if (!scratch->isValid()) {
        std::fprintf(stderr, "fuzz: no scratch folder: %s\n", qPrintable(scratch->errorString()));
        std::abort();
    }
    // Removed when the run ends, not freed as a leak before it.
    std::atexit([] { delete scratch; });
}

QString fuzzapp::scratchFolder()
{
    return scratch->path();
}

void fuzzapp::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz: cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        std::abort();
    }
}
