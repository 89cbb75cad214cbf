#include "model/infra/logger.h"

#include "platform/threadid.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>

const char* const logFileName = "Pelmaro_Jun 29 2020.log";

// Built in this order after the other program-wide objects; the file is
// opened once for the whole run and appended to.
ConsoleLogger consoleLogger;
FileLogger fileLogger{logFileName};
const std::map<int, const char*> logLevelNames = {
    {LogDebug, "Debug"}, {LogInfo, "Info"}, {LogWarning, "Warning"}, {LogError, "Error"}, {LogFatal, "Fatal"},
};

BaseLogger::LogStream::LogStream(BaseLogger* logger, int level)
    : std::ostringstream(std::ios_base::out), logger(logger), level(level)
{
}

BaseLogger::LogStream::LogStream(LogStream&& other) noexcept
    : std::ostringstream(std::move(other)), logger(other.logger), level(other.level)
{
    other.logger = nullptr;
}

BaseLogger::LogStream::~LogStream()
{
    if (logger)
        logger->write(level, str());
}

BaseLogger::LogStream BaseLogger::operator()(int level)
{
    return LogStream(this, level);
}

const char* BaseLogger::timeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const int millis = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::snprintf(timeText, sizeof timeText, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
    return timeText;
}

void BaseLogger::write(int level, const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex);
    const char* levelName;
    const auto found = logLevelNames.find(level);
    if (found != logLevelNames.end()) {
        levelName = found->second;
    } else {
        // No caller should pass another level; print its number rather
        // than guess a name.
        std::snprintf(unknownLevelName, sizeof unknownLevelName, "%d", level);
        levelName = unknownLevelName;
    }
    output(timeStamp(), levelName, text.c_str());
}

void ConsoleLogger::output(const char* time, const char* levelName, const char* text)
{
    std::cout << "[" << time << "]" << "[" << levelName << "]" << "\t" << text << std::endl;
    std::cout.flush();
}

FileLogger::FileLogger(std::string fileName)
    : stream(fileName, std::ios_base::out | std::ios_base::ate | std::ios_base::app)
{
}

FileLogger::~FileLogger()
{
    stream.flush();
    stream.close();
}

void FileLogger::output(const char* time, const char* levelName, const char* text)
{
    stream << "[" << time << "]" << "[" << platform::currentThreadId() << "]" << "[" << levelName << "]" << "\t"
           << text << std::endl;
    stream.flush();
}
