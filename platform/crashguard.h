#pragma once

#include <QString>
#include <QTime>

#include <cstddef>

namespace platform {

// Name of the crash file for a crash at `time`: "异常信息-" followed by the
// time in the Qt format "HH-mm-ss-zzz.bmp". The whole literal is a time
// format, so the "m" of "bmp" is the minute again: 09:05:07.004 gives
// "异常信息-09-05-07-004.b5p". Tools that collect these files expect that name.
QString crashFileName(const QTime& time);

// The same name as UTF-8 into `out` (always terminated), without allocating,
// so that a signal handler can build it. Returns the length written.
std::size_t formatCrashFileName(char* out, std::size_t size, int hour, int minute, int second, int msec);

// Called after the crash file is written, on the thread that installed the
// handler only: a message box is safe there and nowhere else.
using CrashNotice = void (*)();

// Catches fatal signals (SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS) and
// std::terminate: writes a short text report into crashFileName(now) in the
// working directory, calls `notice` when the crash happened on the calling
// thread, then ends the process by the original signal (SIGABRT for
// terminate), so the exit status still tells what happened. Installing
// again replaces the notice and the thread it is shown on.
void installCrashHandler(CrashNotice notice);

} // namespace platform
