#pragma once

// Shared by the tests that save a template folder and look at what lies on
// disk: the files of a folder with their digests, and a disabled test of
// the same binary run in a process of its own (a fresh program, or one
// whose file writes are bounded).

#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
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
    std::map<std::string, std::string> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        const QByteArray bytes = testsupport::readFile(folder + QLatin1Char('/') + name);
        files[name.toStdString()] = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toStdString();
    }
    return files;
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
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(variable), value);
    // A child of a sharded run would otherwise look for its test in its
    // parent's shard only.
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(workFolder);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + test});
    const bool finished = child.waitForFinished(100000);
    const QByteArray output = child.readAll();
    // A crashed child's exit code is the signal that ended it.
    const bool passed = killed ? finished && child.exitStatus() == QProcess::CrashExit && child.exitCode() == SIGKILL
                               : finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
                                     && output.contains("[  PASSED  ] 1 test.");
    if (!passed)
        ADD_FAILURE() << output.toStdString();
    return passed;
}

} // namespace savetest
