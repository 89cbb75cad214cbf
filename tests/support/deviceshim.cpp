// Preloaded into saned by the scanner tests (sanedserver.h), to serve
// SANE's test backend as devices it cannot be told to be:
// - TOLLIVAR_SHIM_FLATBED=1: a flatbed. The test backend always offers its
//   document feeder; the served device lists only its flatbed and refuses
//   any other source, as a flatbed scanner does.
// - TOLLIVAR_SHIM_RESOLUTIONS=150,300: a device that offers only these
//   resolutions, as a list, and refuses any other.
// Always: the test backend's reader threads keep their cancellation
// deferred, as in the scanner process (scannershim.cpp says why), so that
// a healthy server never hangs on a cancelled page of its own accord.

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <dlfcn.h>
#include <pthread.h>

#include <cstdlib>
#include <cstring>

namespace {

using GetDescriptor = const SANE_Option_Descriptor* (*)(SANE_Handle, SANE_Int);
using ControlOption = SANE_Status (*)(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*);

GetDescriptor realDescriptor()
{
    static const auto real = reinterpret_cast<GetDescriptor>(dlsym(RTLD_NEXT, "sane_get_option_descriptor"));
    return real;
}

bool named(const SANE_Option_Descriptor* option, const char* name)
{
    return option && option->name && std::strcmp(option->name, name) == 0;
}

bool flatbed()
{
    static const bool on = std::getenv("TOLLIVAR_SHIM_FLATBED") != nullptr;
    return on;
}

// The listed resolutions as SANE words, the count first; empty when none are set.
const SANE_Word* resolutions()
{
    static SANE_Word words[16] = {0};
    static const bool read = [] {
        const char* text = std::getenv("TOLLIVAR_SHIM_RESOLUTIONS");
        for (char* end = nullptr; text && *text && words[0] < 15; text = end) {
            const long value = std::strtol(text, &end, 10);
            if (end == text)
                break;
            words[++words[0]] = SANE_FIX(double(value));
            if (*end == ',')
                ++end;
        }
        return true;
    }();
    (void)read;
    return words[0] > 0 ? words : nullptr;
}

bool isFeeder(const char* entry)
{
    return std::strstr(entry, "Feeder") || std::strstr(entry, "ADF");
}

bool isSource(const SANE_Option_Descriptor* option)
{
    return flatbed() && named(option, SANE_NAME_SCAN_SOURCE) && option->type == SANE_TYPE_STRING
        && option->constraint_type == SANE_CONSTRAINT_STRING_LIST;
}

bool isResolution(const SANE_Option_Descriptor* option)
{
    return resolutions() && named(option, SANE_NAME_SCAN_RESOLUTION) && option->type == SANE_TYPE_FIXED;
}

bool listed(SANE_Word value)
{
    const SANE_Word* words = resolutions();
    for (int i = 1; i <= words[0]; ++i)
        if (words[i] == value)
            return true;
    return false;
}

} // namespace

extern "C" int pthread_setcanceltype(int /*type*/, int* oldType)
{
    using Setter = int (*)(int, int*);
    static const Setter libc = reinterpret_cast<Setter>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    return libc ? libc(PTHREAD_CANCEL_DEFERRED, oldType) : 0;
}

extern "C" const SANE_Option_Descriptor* sane_get_option_descriptor(SANE_Handle handle, SANE_Int index)
{
    const SANE_Option_Descriptor* option = realDescriptor() ? realDescriptor()(handle, index) : nullptr;
    // saned serves one device per process and asks from one thread.
    if (isSource(option)) {
        static SANE_String_Const entries[16];
        static SANE_Option_Descriptor flatbedSource;
        int kept = 0;
        for (const SANE_String_Const* entry = option->constraint.string_list; *entry && kept < 15; ++entry)
            if (!isFeeder(*entry))
                entries[kept++] = *entry;
        entries[kept] = nullptr;
        flatbedSource = *option;
        flatbedSource.constraint.string_list = entries;
        return &flatbedSource;
    }
    if (isResolution(option)) {
        static SANE_Option_Descriptor listedResolution;
        listedResolution = *option;
        listedResolution.constraint_type = SANE_CONSTRAINT_WORD_LIST;
        listedResolution.constraint.word_list = resolutions();
        return &listedResolution;
    }
    return option;
}

extern "C" SANE_Status sane_control_option(SANE_Handle handle, SANE_Int index, SANE_Action action, void* value,
                                           SANE_Int* info)
{
    static const auto real = reinterpret_cast<ControlOption>(dlsym(RTLD_NEXT, "sane_control_option"));
    if (!real)
        return SANE_STATUS_UNSUPPORTED;
    if (action == SANE_ACTION_SET_VALUE && value && realDescriptor()) {
        const SANE_Option_Descriptor* option = realDescriptor()(handle, index);
        if (isSource(option) && isFeeder(static_cast<const char*>(value)))
            return SANE_STATUS_INVAL;
        if (isResolution(option) && !listed(*static_cast<const SANE_Word*>(value)))
            return SANE_STATUS_INVAL;
    }
    return real(handle, index, action, value, info);
}
