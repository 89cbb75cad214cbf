#pragma once

// Shared by the tests that save a template folder and look at what lies on
// disk: the files of a folder with their digests, and a disabled test of
// the same binary run in a process of its own (a fresh program, or one
// whose file writes are bounded).

#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <sys/stat.h>

namespace savetest {

inline QJsonObject readJson(const QString& path)
{
    return QJsonDocument::fromJson(testsupport::readFile(path)).object();
}

// Every file of `folder` with a digest of its bytes, as failures print it.
inline std::map<std::string, std::string> snapshot(const QString& folder)
{
    return testsupport::fileDigests(folder);
}

// Which file a path names: a file replaced by a save is a new one.
inline ino_t fileIdentity(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status.st_ino;
}

inline QSize pictureSize(const QString& path)
{
    return QImageReader(path).size();
}

// Runs the disabled test `test` of this binary in a process of its own,
// with `variable` set to `value`; true when it ran and passed, or with
// `killed`, when it was killed before it could end.
inline bool runChild(const QString& test, const char* variable, const QString& value, const QString& workFolder,
                     bool killed = false)
{
    QProcessEnvironment added;
    added.insert(QString::fromLatin1(variable), value);
    const testsupport::ChildRun run = testsupport::runDisabledTests(test, added, workFolder);
    const bool passed = killed ? run.killed : run.passed && run.output.contains("[  PASSED  ] 1 test.");
    if (!passed)
        ADD_FAILURE() << run.output.toStdString();
    return passed;
}

} // namespace savetest
