#include "platform/crashguard.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <execinfo.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(CrashFileName, isTheTimeWithTheMinuteInsideTheExtension)
{
    EXPECT_EQ(platform::crashFileName(QTime(9, 5, 7, 4)), QStringLiteral("异常信息-09-05-07-004.b5p"));
    EXPECT_EQ(platform::crashFileName(QTime(14, 3, 22, 123)), QStringLiteral("异常信息-14-03-22-123.b3p"));
    EXPECT_EQ(platform::crashFileName(QTime(0, 0, 0, 0)), QStringLiteral("异常信息-00-00-00-000.b0p"));
    EXPECT_EQ(platform::crashFileName(QTime(23, 59, 59, 999)), QStringLiteral("异常信息-23-59-59-999.b59p"));
}

TEST(CrashFileName, agreesWithQtsOwnTimeFormatAllDayLong)
{
    for (int minutes = 0; minutes < 24 * 60; minutes += 7) {
        const QTime time(minutes / 60, minutes % 60, (minutes * 13) % 60, (minutes * 37) % 1000);
        ASSERT_EQ(platform::crashFileName(time),
                  QStringLiteral("异常信息-") + time.toString(QStringLiteral("HH-mm-ss-zzz.bmp")))
            << time.toString().toStdString();
    }
}

TEST(CrashFileName, aShortBufferStaysTerminated)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    const std::size_t length = platform::formatCrashFileName(buffer, sizeof buffer, 9, 5, 7, 4);
    EXPECT_LT(length, sizeof buffer);
    EXPECT_EQ(buffer[length], '\0');
}

namespace {

// The crashes run in a child process; the child writes this file from the
// notice, so the parent learns whether the message would have been shown.
char noticeMarker[512];

void markNotice()
{
    const int fd = ::open(noticeMarker, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0)
        ::close(fd);
}

[[noreturn]] void crashByFault()
{
    // An address in the never-mapped first page.
    *reinterpret_cast<volatile int*>(std::uintptr_t{8}) = 1;
    ::_exit(0);
}

struct CrashOutcome
{
    int signal = 0;        // the signal that ended the child, 0 when it exited
    bool noticed = false;  // the notice ran
    QStringList files;     // crash files left in the working directory
    QString report;        // the text of the first one
};

// Runs `crash` in a child whose working directory is `dir`, with the
// handler installed on the child's main thread.
CrashOutcome runCrash(const QString& dir, void (*crash)())
{
    const QByteArray marker = QDir(dir).filePath(QStringLiteral("noticed")).toLocal8Bit();
    std::strncpy(noticeMarker, marker.constData(), sizeof noticeMarker - 1);
    // The first backtrace may allocate; never let that happen first in the child.
    void* warmUp[1];
    ::backtrace(warmUp, 1);

    const QByteArray workDir = dir.toLocal8Bit();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(workDir.constData()) != 0)
            ::_exit(90);
        platform::installCrashHandler(markNotice);
        // Through a noexcept frame, so an exception ends in std::terminate
        // instead of in the test framework's handler of this forked copy.
        [crash]() noexcept { crash(); }();
        ::_exit(91);
    }

    CrashOutcome outcome;
    int status = 0;
    QElapsedTimer clock;
    clock.start();
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (clock.elapsed() > 20000) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ADD_FAILURE() << "the crashed child did not end";
            return outcome;
        }
        ::usleep(10000);
    }
    if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    outcome.noticed = QFile::exists(QString::fromLocal8Bit(marker));
    outcome.files = QDir(dir).entryList({QStringLiteral("异常信息-*")}, QDir::Files);
    if (!outcome.files.isEmpty())
        outcome.report = QString::fromUtf8(testsupport::readFile(QDir(dir).filePath(outcome.files.first())));
    return outcome;
}

bool namedLikeACrashFile(const QString& name)
{
    // 异常信息-HH-mm-ss-zzz.b<minute>p, the minute repeated in the extension.
    const QStringList parts = name.split(QLatin1Char('-'));
    if (parts.size() != 5 || parts[0] != QStringLiteral("异常信息"))
        return false;
    return parts[4] == QStringLiteral("%1.b%2p").arg(parts[4].left(3)).arg(parts[2].toInt());
}

} // namespace

TEST(CrashHandler, aFaultOnTheGuiThreadWritesTheReportShowsTheMessageAndEndsBySignal)
{
    testsupport::ScratchDir dir;
    const CrashOutcome outcome = runCrash(dir.path(), [] { crashByFault(); });

    EXPECT_EQ(outcome.signal, SIGSEGV);
    EXPECT_TRUE(outcome.noticed);
    ASSERT_EQ(outcome.files.size(), 1);
    EXPECT_TRUE(namedLikeACrashFile(outcome.files.first())) << outcome.files.first().toStdString();
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("reason: SIGSEGV")));
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("address: 0x8\n")));
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("(GUI thread)")));
    // The frames name the crashed program.
    const QString frames = outcome.report.section(QStringLiteral("backtrace:\n"), 1);
    EXPECT_TRUE(frames.contains(QStringLiteral("platform_tests("))) << outcome.report.toStdString();
}

TEST(CrashHandler, aFaultOnAWorkerThreadWritesTheReportWithoutTheMessage)
{
    testsupport::ScratchDir dir;
    const CrashOutcome outcome = runCrash(dir.path(), [] {
        std::thread worker([] { crashByFault(); });
        worker.join();
    });

    EXPECT_EQ(outcome.signal, SIGSEGV);
    EXPECT_FALSE(outcome.noticed);
    ASSERT_EQ(outcome.files.size(), 1);
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("(worker thread)")));
}

TEST(CrashHandler, anUncaughtExceptionIsReportedWithItsTextOnce)
{
    testsupport::ScratchDir dir;
    const CrashOutcome outcome = runCrash(dir.path(), [] { throw std::runtime_error("disk gone"); });

    EXPECT_EQ(outcome.signal, SIGABRT);
    EXPECT_TRUE(outcome.noticed);
    // The abort that ends the process must not write a second file.
    ASSERT_EQ(outcome.files.size(), 1);
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("reason: std::terminate: uncaught exception: disk gone")));
    EXPECT_FALSE(outcome.report.contains(QStringLiteral("address:")));
}

TEST(CrashHandler, aSignalSentByAnotherProcessHasNoFaultAddress)
{
    testsupport::ScratchDir dir;
    const CrashOutcome outcome = runCrash(dir.path(), [] { ::raise(SIGFPE); });

    EXPECT_EQ(outcome.signal, SIGFPE);
    EXPECT_TRUE(outcome.report.contains(QStringLiteral("reason: SIGFPE")));
    EXPECT_FALSE(outcome.report.contains(QStringLiteral("address:")));
}

TEST(CrashHandler, aFolderThatTakesNoFileStillShowsTheMessageAndEnds)
{
    testsupport::ScratchDir dir;
    const QString gone = dir.file(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkpath(gone));
    static QByteArray goneDir;
    goneDir = gone.toLocal8Bit();
    // The working directory is removed under the child, so no file can be made there.
    const CrashOutcome outcome = runCrash(dir.path(), [] {
        if (::chdir(goneDir.constData()) != 0 || ::rmdir(goneDir.constData()) != 0)
            ::_exit(92);
        crashByFault();
    });

    EXPECT_EQ(outcome.signal, SIGSEGV);
    EXPECT_TRUE(outcome.noticed);
    EXPECT_FALSE(QDir(gone).exists());
}
