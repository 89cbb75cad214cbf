#pragma once

#include <optional>

namespace platform {

// The value Qt reports for Windows 10 (QSysInfo::WV_WINDOWS10). The program
// opens its window normally on it and full screen on every other version.
constexpr int WindowsVersion10 = 0xC0;

// The Windows version as Qt would report it. Qt says 0 off Windows; we
// answer Windows 10 instead, so the window opens in its ordinary state.
int windowsVersion();

// Lets tests pretend to run on another version (e.g. 0x80 for Windows 7);
// std::nullopt goes back to the real answer.
void overrideWindowsVersion(std::optional<int> version);

} // namespace platform
