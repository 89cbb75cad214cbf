// Preloaded into saned by the scanner tests (sanedserver.h), to serve
// SANE's test backend as devices it cannot be told to be:
// - TOLLIVAR_SHIM_FLATBED=1: a flatbed. The test backend always offers its
//   document feeder; the served device lists only its flatbed and refuses
//   any other source, as a flatbed scanner does.
// - TOLLIVAR_SHIM_RESOLUTIONS=150,300: a device that offers only these
//   resolutions, as a list, and refuses any other.
// Always: the test backend's reader threads keep their cancellation
// deferred, as in the scanner process (scannershim.cpp says why).

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <dlfcn.h>
#include <pthread.h>

#include <cstdlib>
#include <cstring>

namespace {

template <typename Function>
Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

const SANE_Option_Descriptor* realDescriptor(SANE_Handle handle, SANE_Int index)
{
    static const auto describe = real<const SANE_Option_Descriptor* (*)(SANE_Handle, SANE_Int)>("sane_get_option_descriptor");
    return describe ? describe(handle, index) : nullptr;
}

// The listed resolutions as SANE words, the count first; null when none are set.
const SANE_Word* resolutions()
{
    static SANE_Word words[16] = {0};
    static const bool read = [] {
        const char* text = std::getenv("TOLLIVAR_SHIM_RESOLUTIONS");
        for (char* end = nullptr; text && words[0] < 15; text = *end == ',' ? end + 1 : nullptr) {
            const long value = std::strtol(text, &end, 10);
            if (end == text)
                break;
            words[++words[0]] = SANE_FIX(double(value));
        }
        return true;
    }();
    return read && words[0] > 0 ? words : nullptr;
}

bool isFeeder(const char* entry)
{
    return std::strstr(entry, "Feeder") || std::strstr(entry, "ADF");
}

// The option as the shimmed device describes it, or null when it is the test backend's own.
const SANE_Option_Descriptor* shimmed(const SANE_Option_Descriptor* option)
{
    // saned serves one device per process and asks from one thread.
    static SANE_Option_Descriptor changed;
    static SANE_String_Const flatbedEntries[16];
    if (!option || !option->name)
        return nullptr;
    if (std::getenv("TOLLIVAR_SHIM_FLATBED") && std::strcmp(option->name, SANE_NAME_SCAN_SOURCE) == 0
        && option->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
        int kept = 0;
        for (const SANE_String_Const* entry = option->constraint.string_list; *entry && kept < 15; ++entry)
            if (!isFeeder(*entry))
                flatbedEntries[kept++] = *entry;
        flatbedEntries[kept] = nullptr;
        changed = *option;
        changed.constraint.string_list = flatbedEntries;
        return &changed;
    }
    if (resolutions() && std::strcmp(option->name, SANE_NAME_SCAN_RESOLUTION) == 0 && option->type == SANE_TYPE_FIXED) {
        changed = *option;
        changed.constraint_type = SANE_CONSTRAINT_WORD_LIST;
        changed.constraint.word_list = resolutions();
        return &changed;
    }
    return nullptr;
}

bool offered(const SANE_Option_Descriptor* option, const void* value)
{
    if (option->type == SANE_TYPE_STRING)
        return !isFeeder(static_cast<const char*>(value));
    for (int i = 1; i <= option->constraint.word_list[0]; ++i)
        if (option->constraint.word_list[i] == *static_cast<const SANE_Word*>(value))
            return true;
    return false;
}

} // namespace

extern "C" int pthread_setcanceltype(int /*type*/, int* oldType)
{
    static const auto libc = real<int (*)(int, int*)>("pthread_setcanceltype");
    return libc ? libc(PTHREAD_CANCEL_DEFERRED, oldType) : 0;
}

extern "C" const SANE_Option_Descriptor* sane_get_option_descriptor(SANE_Handle handle, SANE_Int index)
{
    const SANE_Option_Descriptor* option = realDescriptor(handle, index);
    const SANE_Option_Descriptor* changed = shimmed(option);
    return changed ? changed : option;
}

extern "C" SANE_Status sane_control_option(SANE_Handle handle, SANE_Int index, SANE_Action action, void* value,
                                           SANE_Int* info)
{
    static const auto control = real<SANE_Status (*)(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*)>(
        "sane_control_option");
    if (!control)
        return SANE_STATUS_UNSUPPORTED;
    if (action == SANE_ACTION_SET_VALUE && value) {
        const SANE_Option_Descriptor* option = shimmed(realDescriptor(handle, index));
        if (option && !offered(option, value))
            return SANE_STATUS_INVAL;
    }
    return control(handle, index, action, value, info);
}
