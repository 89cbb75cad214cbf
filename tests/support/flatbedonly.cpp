// Preloaded into saned by the scanner tests: SANE's test backend always
// offers its document feeder, and a device without one is what these
// tests need. The served device lists only its flatbed and refuses any
// other source, as a flatbed scanner does.

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <dlfcn.h>

#include <cstring>

namespace {

using GetDescriptor = const SANE_Option_Descriptor* (*)(SANE_Handle, SANE_Int);
using ControlOption = SANE_Status (*)(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*);

GetDescriptor realDescriptor()
{
    static const auto real = reinterpret_cast<GetDescriptor>(dlsym(RTLD_NEXT, "sane_get_option_descriptor"));
    return real;
}

bool isFeeder(const char* entry)
{
    return std::strstr(entry, "Feeder") || std::strstr(entry, "ADF");
}

bool isSource(const SANE_Option_Descriptor* option)
{
    return option && option->name && std::strcmp(option->name, SANE_NAME_SCAN_SOURCE) == 0
        && option->type == SANE_TYPE_STRING && option->constraint_type == SANE_CONSTRAINT_STRING_LIST;
}

} // namespace

extern "C" const SANE_Option_Descriptor* sane_get_option_descriptor(SANE_Handle handle, SANE_Int index)
{
    const SANE_Option_Descriptor* option = realDescriptor() ? realDescriptor()(handle, index) : nullptr;
    if (!isSource(option))
        return option;
    // saned serves one device per process and asks from one thread.
    static SANE_String_Const entries[16];
    static SANE_Option_Descriptor flatbed;
    int kept = 0;
    for (const SANE_String_Const* entry = option->constraint.string_list; *entry && kept < 15; ++entry)
        if (!isFeeder(*entry))
            entries[kept++] = *entry;
    entries[kept] = nullptr;
    flatbed = *option;
    flatbed.constraint.string_list = entries;
    return &flatbed;
}

extern "C" SANE_Status sane_control_option(SANE_Handle handle, SANE_Int index, SANE_Action action, void* value,
                                           SANE_Int* info)
{
    static const auto real = reinterpret_cast<ControlOption>(dlsym(RTLD_NEXT, "sane_control_option"));
    if (!real)
        return SANE_STATUS_UNSUPPORTED;
    if (action == SANE_ACTION_SET_VALUE && value && realDescriptor() && isSource(realDescriptor()(handle, index))
        && isFeeder(static_cast<const char*>(value)))
        return SANE_STATUS_INVAL;
    return real(handle, index, action, value, info);
}
