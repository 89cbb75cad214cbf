// Preloaded into the scanner process by the suites that scan, for two
// faults of SANE's test backend that are not the program's:
// - Its reader thread, switched to asynchronous cancellation, is cancelled
//   as a page's last bytes are read, often inside free(), leaving a malloc
//   lock held for good. Kept deferred, it stops at its next write or sleep.
// - That reader never frees its line buffer. The backends stay loaded past
//   sane_exit, so a leak report names them and sanitizers/lsan.supp matches.

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
__attribute__((constructor)) void pinBackends()
{
    Dl_info info{};
    void* init = dlsym(RTLD_DEFAULT, "sane_init");
    if (!init || !dladdr(init, &info) || !info.dli_fname)
        return;
    std::string folder = info.dli_fname;
    folder.erase(folder.find_last_of('/') + 1);
    for (const char* name : {"test", "net"})
        dlopen((folder + "sane/libsane-" + name + ".so.1").c_str(), RTLD_LAZY | RTLD_NODELETE);
}

} // namespace
