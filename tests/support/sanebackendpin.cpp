// SANE unloads its backends at every sane_exit, and a leak report at
// the end of the suite then cannot tell whose code allocated what: the
// backend's reader thread, cancelled at a write as soon as a scan stops,
// never frees its line buffer (see tests/sanitizers/lsan.supp). The suite
// keeps the backend loaded for good, so the report names it and the
// suppression can match it; the net backend, which reaches the tests'
// servers, likewise. The backends sit in the "sane" folder beside SANE's
// own library.

#include <sane/sane.h>

#include <dlfcn.h>

#include <string>

namespace {

void* pinBackend(const char* name)
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&sane_init), &info) || !info.dli_fname)
        return nullptr;
    std::string folder = info.dli_fname;
    folder.erase(folder.find_last_of('/') + 1);
    return dlopen((folder + "sane/libsane-" + name + ".so.1").c_str(), RTLD_LAZY | RTLD_NODELETE);
}

void* const testBackend = pinBackend("test");
void* const netBackend = pinBackend("net");

} // namespace
