// SANE's test backend reads each page on a thread that it switches to
// asynchronous cancellation and cancels as soon as the page's last bytes
// are read, often while that thread is leaving and freeing its malloc
// caches. glibc then leaves an allocator lock held for good, and the next
// thread to use that arena hangs the run now and then. An executable
// built with this file keeps every cancellation deferred instead: the
// reader still stops, at its next write or sleep, but never in the middle
// of malloc or free. The executable exports this symbol
// (tollivar_defer_sane_cancel in cmake/Tollivar.cmake), so the backend,
// loaded later, binds to it rather than to libc's.

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>

std::atomic<int> deferredCancelRequests{0};

extern "C" int pthread_setcanceltype(int /*type*/, int* oldType)
{
    using Setter = int (*)(int, int*);
    static const Setter libc = reinterpret_cast<Setter>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    ++deferredCancelRequests;
    return libc ? libc(PTHREAD_CANCEL_DEFERRED, oldType) : 0;
}
