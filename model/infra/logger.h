#pragma once

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>

// Diagnostic records. One statement is one record:
//
//     fileLogger(LogFatal) << "calSimilar-->" << e.what();
//
// The text is collected without a lock and written, stamped and flushed
// under the logger's mutex when the statement ends, so records from
// several threads never share a line.

enum LogLevel {
    LogDebug = 0,
    LogInfo = 1,
    LogWarning = 2,
    LogError = 3,
    LogFatal = 4,
};

extern const std::map<int, const char*> logLevelNames;

class BaseLogger
{
public:
    class LogStream : public std::ostringstream
    {
    public:
        LogStream(BaseLogger* logger, int level);
        LogStream(LogStream&& other) noexcept;
        ~LogStream() override;

    private:
        BaseLogger* logger; // null once moved from: nothing left to write
        int level;
    };

    BaseLogger() = default;
    BaseLogger(const BaseLogger&) = delete;
    BaseLogger& operator=(const BaseLogger&) = delete;
    virtual ~BaseLogger() = default;

    virtual LogStream operator()(int level);

    // "2020-06-29 09:05:03.042" for the current local time. Only valid
    // while the mutex is held.
    const char* timeStamp();

protected:
    virtual void output(const char* time, const char* levelName, const char* text) = 0;

private:
    friend class LogStream;
    void write(int level, const std::string& text);

    std::mutex mutex;
    char timeText[64] = {}; // 23 characters in practice; room for any int the compiler can imagine
    char unknownLevelName[16] = {};
};

class ConsoleLogger : public BaseLogger
{
protected:
    void output(const char* time, const char* levelName, const char* text) override;
};

class FileLogger : public BaseLogger
{
public:
    explicit FileLogger(std::string fileName);
    ~FileLogger() override;

protected:
    void output(const char* time, const char* levelName, const char* text) override;

private:
    std::ofstream stream;
};

// The name of the program's log file, in the working directory.
extern const char* const logFileName;

extern ConsoleLogger consoleLogger;
extern FileLogger fileLogger;
