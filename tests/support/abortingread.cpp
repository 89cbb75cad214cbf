// Preloaded into the scanner process by the scan-fault test: a backend
// that crashes in the middle of a scan. The first page reads as usual; the
// first read of the second one aborts the process.

#include <sane/sane.h>

#include <dlfcn.h>

#include <cstdlib>

static int framesStarted = 0;

extern "C" SANE_Status sane_start(SANE_Handle handle)
{
    static const auto real = reinterpret_cast<SANE_Status (*)(SANE_Handle)>(dlsym(RTLD_NEXT, "sane_start"));
    ++framesStarted;
    return real ? real(handle) : SANE_STATUS_IO_ERROR;
}

extern "C" SANE_Status sane_read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length)
{
    using Read = SANE_Status (*)(SANE_Handle, SANE_Byte*, SANE_Int, SANE_Int*);
    static const auto real = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "sane_read"));
    if (framesStarted >= 2)
        std::abort();
    return real ? real(handle, data, maxLength, length) : SANE_STATUS_IO_ERROR;
}
