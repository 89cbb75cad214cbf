// Linked into the suites that cut saves short: the calls with which a
// save takes its steps on disk (a folder made, a file or folder synced, a
// folder renamed or removed) stand in front of the C library's. In a
// process whose environment names a step, they count: at the step
// TOLLIVAR_SAVE_KILL_AT names (by its number, or by its call: "exchange")
// the process is killed before the call runs, at the one
// TOLLIVAR_SAVE_FAIL_AT names the call fails with EIO. With
// TOLLIVAR_SAVE_NO_EXCHANGE set, the file system "cannot" exchange two
// names.

#include "tests/support/savesteps.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio> // RENAME_EXCHANGE
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the variable names this step.
bool names(const char* variable, int number, const char* call)
{
    const char* value = std::getenv(variable);
    return value && (std::atoi(value) == number || std::strcmp(value, call) == 0);
}

std::atomic<int> steps{0};

// Counts the step this call is; true, with errno set, when it is to fail.
bool fails(const char* call)
{
    if (!std::getenv("TOLLIVAR_SAVE_KILL_AT") && !std::getenv("TOLLIVAR_SAVE_FAIL_AT"))
        return false;
    const int number = ++steps;
    if (names("TOLLIVAR_SAVE_KILL_AT", number, call))
        ::kill(::getpid(), SIGKILL);
    const bool fail = names("TOLLIVAR_SAVE_FAIL_AT", number, call);
    if (fail)
        errno = EIO;
    return fail;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

void restartSaveSteps()
{
    steps = 0;
}

int saveStepsTaken()
{
    return steps;
}

extern "C" int mkdir(const char* path, mode_t mode)
{
    static const auto system = next<int (*)(const char*, mode_t)>("mkdir");
    return fails("mkdir") ? -1 : system(path, mode);
}

extern "C" int fsync(int fd)
{
    static const auto system = next<int (*)(int)>("fsync");
    return fails("fsync") ? -1 : system(fd);
}

extern "C" int rename(const char* from, const char* to)
{
    static const auto system = next<int (*)(const char*, const char*)>("rename");
    return fails("rename") ? -1 : system(from, to);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    static const auto system = next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    const bool exchange = flags & RENAME_EXCHANGE;
    if (exchange && std::getenv("TOLLIVAR_SAVE_NO_EXCHANGE")) {
        errno = EINVAL;
        return -1;
    }
    return fails(exchange ? "exchange" : "rename") ? -1 : system(fromFolder, from, toFolder, to, flags);
}

extern "C" int rmdir(const char* path)
{
    static const auto system = next<int (*)(const char*)>("rmdir");
    return fails("rmdir") ? -1 : system(path);
}
