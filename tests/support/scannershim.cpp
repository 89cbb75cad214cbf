// Preloaded into the scanner process by the suites that scan
// (scannerprocess.h), for two faults of SANE's test backend that are not
// the program's:
// - It reads each page on a thread that it switches to asynchronous
//   cancellation and cancels as soon as the page's last bytes are read,
//   often while that thread is leaving and freeing its malloc caches.
//   glibc then leaves an allocator lock held for good, and the next thread
//   to use that arena hangs the process now and then. Here every
//   cancellation stays deferred: the reader still stops, at its next write
//   or sleep, but never in the middle of malloc or free.
// - SANE unloads its backends at sane_exit, and the leak check at the
//   process's end then cannot tell whose code allocated what: that reader
//   thread, cancelled at a write as soon as a scan stops, never frees its
//   line buffer (see tests/sanitizers/lsan.supp). The backends stay loaded
//   for good here, so the report names them and the suppression matches.

#include <dlfcn.h>
#include <pthread.h>

#include <string>

extern "C" int pthread_setcanceltype(int /*type*/, int* oldType)
{
    using Setter = int (*)(int, int*);
    static const Setter libc = reinterpret_cast<Setter>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    return libc ? libc(PTHREAD_CANCEL_DEFERRED, oldType) : 0;
}

namespace {

// The backends sit in the "sane" folder beside SANE's own library.
void pinBackend(const char* name)
{
    Dl_info info{};
    void* init = dlsym(RTLD_DEFAULT, "sane_init");
    if (!init || !dladdr(init, &info) || !info.dli_fname)
        return;
    std::string folder = info.dli_fname;
    folder.erase(folder.find_last_of('/') + 1);
    dlopen((folder + "sane/libsane-" + name + ".so.1").c_str(), RTLD_LAZY | RTLD_NODELETE);
}

__attribute__((constructor)) void pinBackends()
{
    pinBackend("test");
    pinBackend("net");
}

} // namespace
