#pragma once

// What Qt allocates while the application object starts is Qt's own: the
// offscreen platform's screen and cursor, for one, are never freed (they
// hold each other, so a leak check finds them unreachable at exit). Leak
// checking looks away for the length of this scope only, so every later
// allocation, Qt's included, is still checked.

#include "tests/support/addresssanitizer.h"

#if TOLLIVAR_UNDER_ASAN
#include <sanitizer/lsan_interface.h>
#endif

namespace testsupport {

class StartupAllocations
{
public:
#if TOLLIVAR_UNDER_ASAN
    StartupAllocations() { __lsan_disable(); }
    ~StartupAllocations() { __lsan_enable(); }
#else
    StartupAllocations() = default;
#endif
    StartupAllocations(const StartupAllocations&) = delete;
    StartupAllocations& operator=(const StartupAllocations&) = delete;
};

} // namespace testsupport
