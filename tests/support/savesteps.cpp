// Linked into the suites that cut saves short: the calls with which a
// save takes its steps on disk (a folder made, a file or folder synced, a
// folder renamed or removed) stand in front of the C library's. In a
// process whose environment names a step, they count: at the step
// TOLLIVAR_SAVE_KILL_AT names (by its number, or by its call: "exchange")
// the process is killed before the call runs, at the one
// TOLLIVAR_SAVE_FAIL_AT names the call fails with EIO. With
// TOLLIVAR_SAVE_NO_EXCHANGE set, the file system "cannot" exchange two
// names. While a kill is set, each counted step is written to standard
// error as "save step <n>: <call> <path>", so a test can tell where the
// kill fell. restartSaveSteps (savesteps.h) counts from one again.

#include "tests/support/savesteps.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
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

// Says which step this call is; true when it is to fail.
bool step(const char* call, const std::string& path)
{
    const char* const kill = "TOLLIVAR_SAVE_KILL_AT";
    const char* const fail = "TOLLIVAR_SAVE_FAIL_AT";
    if (!std::getenv(kill) && !std::getenv(fail))
        return false;
    const int number = ++steps;
    if (std::getenv(kill)) {
        const std::string line = "save step " + std::to_string(number) + ": " + call + " " + path + "\n";
        if (::write(STDERR_FILENO, line.data(), line.size()) < 0) {
            // Nobody listens; the step is taken all the same.
        }
        if (names(kill, number, call))
            ::kill(::getpid(), SIGKILL);
    }
    return names(fail, number, call);
}

std::string pathOf(int fd)
{
    char path[PATH_MAX] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    return ::readlink(link.c_str(), path, sizeof path - 1) > 0 ? path : link;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int failed()
{
    errno = EIO;
    return -1;
}

} // namespace

void restartSaveSteps()
{
    steps = 0;
}

extern "C" int mkdir(const char* path, mode_t mode)
{
    static const auto system = next<int (*)(const char*, mode_t)>("mkdir");
    return step("mkdir", path) ? failed() : system(path, mode);
}

extern "C" int fsync(int fd)
{
    static const auto system = next<int (*)(int)>("fsync");
    return step("fsync", pathOf(fd)) ? failed() : system(fd);
}

extern "C" int rename(const char* from, const char* to)
{
    static const auto system = next<int (*)(const char*, const char*)>("rename");
    return step("rename", to) ? failed() : system(from, to);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    static const auto system = next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if ((flags & RENAME_EXCHANGE) && std::getenv("TOLLIVAR_SAVE_NO_EXCHANGE")) {
        errno = EINVAL;
        return -1;
    }
    return step((flags & RENAME_EXCHANGE) ? "exchange" : "rename", to) ? failed()
                                                                      : system(fromFolder, from, toFolder, to, flags);
}

extern "C" int rmdir(const char* path)
{
    static const auto system = next<int (*)(const char*)>("rmdir");
    return step("rmdir", path) ? failed() : system(path);
}
