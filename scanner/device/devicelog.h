#pragma once

#include <sstream>
#include <string>

// One record of the scanner process, written when the statement ends:
//
//     DeviceLog(DeviceLog::Error) << "sane_open " << name << ": " << why;
//
// The process has no log file of its own: its records go to the program,
// which writes them into its log (levels as the program's logger counts
// them). Until a sink is set they go to standard error.
class DeviceLog : public std::ostringstream
{
public:
    enum Level { Debug = 0, Info = 1, Warning = 2, Error = 3 };
    using Sink = void (*)(int level, const std::string& text);

    explicit DeviceLog(Level level) : level(level) {}
    ~DeviceLog() override;
    DeviceLog(const DeviceLog&) = delete;
    DeviceLog& operator=(const DeviceLog&) = delete;

    static void setSink(Sink sink);

private:
    Level level;
};
