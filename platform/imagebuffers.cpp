#include "platform/imagebuffers.h"

// Any C library header tells whether that library is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

namespace {

constexpr int megabyte = 1024 * 1024;
// The largest threshold glibc takes (on 64 bits), just above an A3 page at
// 200 dpi in 32-bit colour (31 MB): page pictures come from the heap, not
// from fresh mappings.
constexpr int mapAbove = 32 * megabyte;
// Freed heap kept for the next pictures: a few pages' worth.
constexpr int keepFree = 256 * megabyte;

} // namespace

void keepImageBuffers()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, mapAbove);
    mallopt(M_TRIM_THRESHOLD, keepFree);
#endif
}

} // namespace platform
