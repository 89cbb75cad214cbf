#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace testsupport {

ScratchDir::ScratchDir() : dir(QDir::tempPath() + QStringLiteral("/tollivar-test-XXXXXX")) {}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::map<std::string, std::string> fileDigests(const QString& folder)
{
    std::map<std::string, std::string> files;
    const QDir root(folder);
    QDirIterator each(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (each.hasNext()) {
        const QString path = each.next();
        const QByteArray digest = QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex();
        files[root.relativeFilePath(path).toStdString()] = digest.toStdString();
    }
    return files;
}

ChildRun runDisabledTests(const QString& filter, const QProcessEnvironment& added, const QString& workFolder)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(added);
    // A child of a sharded run would otherwise look for its test in its
    // parent's shard only.
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(workFolder);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + filter});
    ChildRun run;
    const bool finished = child.waitForFinished(100000);
    run.output = child.readAll();
    // A crashed child's exit code is the signal that ended it.
    run.killed = finished && child.exitStatus() == QProcess::CrashExit && child.exitCode() == SIGKILL;
    run.passed = finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
        && run.output.contains("[  PASSED  ]") && !run.output.contains("[  FAILED  ]");
    return run;
}

void later(int delayMs, std::function<void()> action)
{
    QTimer::singleShot(delayMs, std::move(action));
}

namespace {
std::atomic<int> watchdogGeneration{0};
}

Watchdog::Watchdog(int seconds) : token(++watchdogGeneration)
{
    const int mine = token;
    std::thread([mine, seconds] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (watchdogGeneration.load() != mine)
                return;
        }
        std::fprintf(stderr, "watchdog: test still running after %d s (a dialog left open?)\n", seconds);
        std::fflush(stderr);
        std::_Exit(3);
    }).detach();
}

Watchdog::~Watchdog()
{
    ++watchdogGeneration;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray jpegDeclaring(int width, int height)
{
    QImage tiny(16, 16, QImage::Format_RGB32);
    tiny.fill(Qt::gray);
    QByteArray jpeg = encoded(tiny, "jpg");
    // The baseline frame header: FF C0, length, precision, height, width.
    // Qt's encoder writes no FF byte in the segments before it.
    const int frame = jpeg.indexOf("\xFF\xC0");
    const char size[] = {char(height >> 8), char(height & 0xFF), char(width >> 8), char(width & 0xFF)};
    return jpeg.replace(frame + 5, 4, size, 4);
}

QByteArray jpegWithCorruptData(const QImage& image)
{
    QByteArray jpeg = encoded(image, "jpg");
    // A restart marker half-way through the compressed data, where none belongs.
    const int scan = jpeg.indexOf("\xFF\xDA");
    return jpeg.replace(scan + (jpeg.size() - scan) / 2, 2, "\xFF\xD4", 2);
}

bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

qint64 peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

} // namespace testsupport
