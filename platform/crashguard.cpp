#include "platform/crashguard.h"

#include "platform/threadid.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <exception>

#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace platform {

namespace {

// Everything below the installer runs inside a signal handler, so it only
// touches async-signal-safe calls and fixed buffers.

constexpr int fatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS};

std::atomic<CrashNotice> noticeFunction{nullptr};
std::atomic<unsigned long> noticeThread{0};
std::atomic_flag crashing = ATOMIC_FLAG_INIT;
// A stack overflow leaves no room to run the handler on the thread's own
// stack. The crash message runs an event loop and paints, hence the size;
// the pages are only touched when a crash uses them.
alignas(16) char alternateStack[4 * 1024 * 1024];

// A growing text in a fixed buffer; writes past the end are dropped.
struct Text
{
    char* data;
    std::size_t size;
    std::size_t length = 0;

    Text(char* buffer, std::size_t bufferSize) : data(buffer), size(bufferSize) { data[0] = '\0'; }

    Text& add(const char* text)
    {
        while (*text && length + 1 < size)
            data[length++] = *text++;
        data[length] = '\0';
        return *this;
    }

    Text& number(unsigned long value, int minDigits = 1, int base = 10)
    {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value && count < 24);
        while (count < minDigits && count < 24)
            digits[count++] = '0';
        char ordered[25];
        for (int i = 0; i < count; ++i)
            ordered[i] = digits[count - 1 - i];
        ordered[count] = '\0';
        return add(ordered);
    }
};

const char* signalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV (invalid memory access)";
    case SIGABRT:
        return "SIGABRT (abort)";
    case SIGFPE:
        return "SIGFPE (arithmetic error)";
    case SIGILL:
        return "SIGILL (illegal instruction)";
    case SIGBUS:
        return "SIGBUS (bus error)";
    default:
        return "signal";
    }
}

void writeAll(int fd, const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, text, length);
        if (written <= 0)
            return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

// Writes the crash file for the current moment; a file that cannot be made
// is no reason to stop, the process ends either way.
void writeReport(const char* reason, const void* address)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    const int msec = static_cast<int>(now.tv_nsec / 1000000);

    char name[128];
    formatCrashFileName(name, sizeof name, local.tm_hour, local.tm_min, local.tm_sec, msec);
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;

    char buffer[1024];
    Text text(buffer, sizeof buffer);
    text.add("tollivar crash report\ntime: ")
        .number(static_cast<unsigned long>(local.tm_year + 1900), 4)
        .add("-")
        .number(static_cast<unsigned long>(local.tm_mon + 1), 2)
        .add("-")
        .number(static_cast<unsigned long>(local.tm_mday), 2)
        .add(" ")
        .number(static_cast<unsigned long>(local.tm_hour), 2)
        .add(":")
        .number(static_cast<unsigned long>(local.tm_min), 2)
        .add(":")
        .number(static_cast<unsigned long>(local.tm_sec), 2)
        .add(".")
        .number(static_cast<unsigned long>(msec), 3)
        .add("\nreason: ")
        .add(reason);
    if (address)
        text.add("\naddress: 0x").number(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address)), 1, 16);
    const unsigned long thread = currentThreadId();
    text.add("\nprocess: ")
        .number(static_cast<unsigned long>(::getpid()))
        .add("\nthread: ")
        .number(thread)
        .add(thread == noticeThread.load() ? " (GUI thread)" : " (worker thread)")
        .add("\nbacktrace:\n");
    writeAll(fd, text.data, text.length);

    void* frames[64];
    const int depth = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, depth, fd);
    ::close(fd);
}

void noticeIfOnGuiThread()
{
    const CrashNotice notice = noticeFunction.load();
    if (notice && currentThreadId() == noticeThread.load())
        notice();
}

[[noreturn]] void endBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    // Inside its own handler the signal is blocked; unblocked, raising it
    // ends the process at once with the default action.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void onFatalSignal(int signal, siginfo_t* info, void*)
{
    // A second crash (another thread, or inside the message) ends the
    // process at once: the first one already wrote its report.
    if (crashing.test_and_set())
        endBySignal(signal);
    // Only a signal the kernel raised for a fault carries an address; one
    // sent by kill() or raise() has a non-positive code.
    const bool fault = info && info->si_code > 0 &&
                       (signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL);
    writeReport(signalName(signal), fault ? info->si_addr : nullptr);
    noticeIfOnGuiThread();
    endBySignal(signal);
}

[[noreturn]] void onTerminate()
{
    if (!crashing.test_and_set()) {
        char reason[512];
        Text text(reason, sizeof reason);
        text.add("std::terminate");
        if (std::exception_ptr pending = std::current_exception()) {
            try {
                std::rethrow_exception(pending);
            } catch (const std::exception& error) {
                text.add(": uncaught exception: ").add(error.what());
            } catch (...) {
                text.add(": uncaught exception of unknown type");
            }
        }
        writeReport(text.data, nullptr);
        noticeIfOnGuiThread();
    }
    endBySignal(SIGABRT);
}

} // namespace

std::size_t formatCrashFileName(char* out, std::size_t size, int hour, int minute, int second, int msec)
{
    if (size == 0)
        return 0;
    Text text(out, size);
    text.add("异常信息-")
        .number(static_cast<unsigned long>(hour), 2)
        .add("-")
        .number(static_cast<unsigned long>(minute), 2)
        .add("-")
        .number(static_cast<unsigned long>(second), 2)
        .add("-")
        .number(static_cast<unsigned long>(msec), 3)
        .add(".b")
        .number(static_cast<unsigned long>(minute))
        .add("p");
    return text.length;
}

QString crashFileName(const QTime& time)
{
    char name[128];
    const std::size_t length =
        formatCrashFileName(name, sizeof name, time.hour(), time.minute(), time.second(), time.msec());
    return QString::fromUtf8(name, static_cast<int>(length));
}

void installCrashHandler(CrashNotice notice)
{
    noticeFunction.store(notice);
    noticeThread.store(currentThreadId());

    // The first backtrace loads libgcc, which allocates: do it now, not in
    // the handler.
    void* warmUp[1];
    ::backtrace(warmUp, 1);
    ::tzset();

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    ::sigaltstack(&stack, nullptr);

    struct sigaction action{};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : fatalSignals)
        ::sigaction(signal, &action, nullptr);

    std::set_terminate(onTerminate);
}

} // namespace platform
