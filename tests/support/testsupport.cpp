#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QTimer>

#include <atomic>
#include <chrono>
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

} // namespace testsupport
