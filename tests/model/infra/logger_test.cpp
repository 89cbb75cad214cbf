#include "model/infra/logger.h"

#include "tests/support/testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

QStringList linesOf(const QString& path)
{
    return QString::fromUtf8(testsupport::readFile(path)).split('\n', Qt::SkipEmptyParts);
}

// [2020-06-29 09:05:03.042][5172][Fatal]\ttext
const QRegularExpression recordPattern(
    QStringLiteral(R"(^\[(\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2}):(\d{2})\.(\d{3})\]\[(\d+)\]\[([A-Za-z0-9-]+)\]\t(.*)$)"));

} // namespace

TEST(FileLogger, writesOneStampedRecordPerStatement)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("records.log");
    {
        FileLogger logger(path.toStdString());
        logger(LogFatal) << "calSimilar-->" << "bad size " << 42;
        logger(LogInfo) << "";
        logger(LogError) << "中文 text";
        // No caller passes another level; it is printed as its number.
        logger(9) << "nine";
        logger(-1) << "minus one";
    }
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), 5);

    const auto first = recordPattern.match(lines[0]);
    ASSERT_TRUE(first.hasMatch()) << lines[0].toStdString();
    EXPECT_GE(first.captured(1).toInt(), 2024);
    EXPECT_GE(first.captured(2).toInt(), 1);
    EXPECT_LE(first.captured(2).toInt(), 12);
    EXPECT_EQ(first.captured(9), QStringLiteral("Fatal"));
    EXPECT_EQ(first.captured(10), QStringLiteral("calSimilar-->bad size 42"));

    // An empty text still carries time, thread, level and the tab.
    const auto second = recordPattern.match(lines[1]);
    ASSERT_TRUE(second.hasMatch()) << lines[1].toStdString();
    EXPECT_EQ(second.captured(9), QStringLiteral("Info"));
    EXPECT_TRUE(second.captured(10).isEmpty());

    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("[Error]\t中文 text")));
    EXPECT_TRUE(lines[3].endsWith("[9]\tnine"));
    EXPECT_TRUE(lines[4].endsWith("[-1]\tminus one"));
}

TEST(FileLogger, appendsToAnExistingFile)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("append.log");
    { FileLogger(path.toStdString())(LogInfo) << "first run"; }
    { FileLogger(path.toStdString())(LogInfo) << "second run"; }
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith("first run"));
    EXPECT_TRUE(lines[1].endsWith("second run"));
}

TEST(FileLogger, recordsFromEightThreadsNeverInterleave)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("threads.log");
    constexpr int threads = 8;
    constexpr int perThread = 300;
    {
        FileLogger logger(path.toStdString());
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&logger, t] {
                for (int i = 0; i < perThread; ++i)
                    logger(LogInfo) << "thread " << t << " record " << i << " " << std::string(40, char('a' + t));
            });
        }
        for (auto& worker : workers)
            worker.join();
    }
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), threads * perThread);

    const QRegularExpression body(QStringLiteral(R"(^thread (\d) record (\d+) ([a-h]{40})$)"));
    std::vector<int> counts(threads, 0);
    QSet<QString> threadIds;
    for (const QString& line : lines) {
        const auto record = recordPattern.match(line);
        ASSERT_TRUE(record.hasMatch()) << line.toStdString();
        const auto text = body.match(record.captured(10));
        ASSERT_TRUE(text.hasMatch()) << line.toStdString();
        const int t = text.captured(1).toInt();
        EXPECT_EQ(text.captured(3), QString(40, QChar('a' + t)));
        ++counts[t];
        threadIds.insert(record.captured(8));
    }
    for (int count : counts)
        EXPECT_EQ(count, perThread);
    EXPECT_EQ(threadIds.size(), threads);
}

TEST(FileLogger, programLoggerWritesTheNamedFileInTheWorkingDirectory)
{
    fileLogger(LogWarning) << "program logger check";
    const QStringList lines = linesOf(QString::fromUtf8(logFileName));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(QString::fromUtf8(logFileName), QStringLiteral("Pelmaro_Jun 29 2020.log"));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("[Warning]\tprogram logger check")));
}
