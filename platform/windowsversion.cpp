#include "platform/windowsversion.h"

#include <atomic>

namespace platform {

namespace {
constexpr int noOverride = -1;
std::atomic<int> versionOverride{noOverride};
} // namespace

int windowsVersion()
{
    const int forced = versionOverride.load();
    return forced != noOverride ? forced : WindowsVersion10;
}

void overrideWindowsVersion(std::optional<int> version)
{
    versionOverride.store(version ? *version : noOverride);
}

} // namespace platform
