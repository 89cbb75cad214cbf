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

SANE_Word listed[16]; // the listed resolutions as SANE words, the count first

__attribute__((constructor)) void readListed()
{
    const char* text = std::getenv("TOLLIVAR_SHIM_RESOLUTIONS");
    for (char* end = nullptr; text && listed[0] < 15; text = *end == ',' ? end + 1 : nullptr) {
        const long value = std::strtol(text, &end, 10);
        if (end == text)
            break;
        listed[++listed[0]] = SANE_FIX(double(value));
    }
}

const SANE_String_Const flatbedSources[] = {"Flatbed", nullptr};

// An option as the shimmed device describes it. saned serves one device
// per process and asks from one thread.
SANE_Option_Descriptor changed;

const SANE_Option_Descriptor* shimmed(const SANE_Option_Descriptor* option)
{
    if (!option || !option->name)
        return option;
    if (std::getenv("TOLLIVAR_SHIM_FLATBED") && std::strcmp(option->name, SANE_NAME_SCAN_SOURCE) == 0
        && option->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
        changed = *option;
        changed.constraint.string_list = flatbedSources;
        return &changed;
    }
    if (listed[0] > 0 && std::strcmp(option->name, SANE_NAME_SCAN_RESOLUTION) == 0 && option->type == SANE_TYPE_FIXED) {
        changed = *option;
        changed.constraint_type = SANE_CONSTRAINT_WORD_LIST;
        changed.constraint.word_list = listed;
        return &changed;
    }
    return option;
}

bool offered(const SANE_Option_Descriptor* option, const void* value)
{
    if (option->type == SANE_TYPE_STRING)
        return std::strcmp(static_cast<const char*>(value), flatbedSources[0]) == 0;
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
    static const auto describe = real<const SANE_Option_Descriptor* (*)(SANE_Handle, SANE_Int)>("sane_get_option_descriptor");
    return shimmed(describe ? describe(handle, index) : nullptr);
}

extern "C" SANE_Status sane_control_option(SANE_Handle handle, SANE_Int index, SANE_Action action, void* value,
                                           SANE_Int* info)
{
    static const auto control = real<SANE_Status (*)(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*)>(
        "sane_control_option");
    if (!control)
        return SANE_STATUS_UNSUPPORTED;
    if (action == SANE_ACTION_SET_VALUE && value) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, index);
        if (option == &changed && !offered(option, value))
            return SANE_STATUS_INVAL;
    }
    return control(handle, index, action, value, info);
}
