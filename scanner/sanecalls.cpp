#include "scanner/sanecalls.h"

// The same functions of SANE's library, declared to answer a plain int:
// the answer arrives in the same register either way, and an int may hold
// any number the backend put there.
extern "C" {
int tollivar_sane_init(SANE_Int* version, SANE_Auth_Callback authorize) __asm__("sane_init");
int tollivar_sane_get_devices(const SANE_Device*** list, SANE_Bool localOnly) __asm__("sane_get_devices");
int tollivar_sane_open(SANE_String_Const name, SANE_Handle* handle) __asm__("sane_open");
int tollivar_sane_control_option(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value,
                                 SANE_Int* info) __asm__("sane_control_option");
int tollivar_sane_get_parameters(SANE_Handle handle, SANE_Parameters* parameters) __asm__("sane_get_parameters");
int tollivar_sane_start(SANE_Handle handle) __asm__("sane_start");
int tollivar_sane_read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length)
    __asm__("sane_read");
}

namespace sanecall {

namespace {

// The net backend sends a request and then reads its reply structure even
// when the connection broke before any reply was decoded into it: the
// structure is whatever its stack slot held, and a stale pointer there is
// followed (a freed string read, or a status that is no status). The stack
// the call is about to use is zeroed first, so such a reply reads as empty
// and the call fails cleanly. Its calls nest well within this depth. Not
// instrumented, so the area lies on the thread's own stack even where
// AddressSanitizer moves other locals aside.
__attribute__((noinline, no_sanitize("address"))) void clearStackBelow()
{
    volatile unsigned char area[16384];
    for (unsigned i = 0; i < sizeof area; ++i)
        area[i] = 0;
}

SANE_Status checked(int status)
{
    return status >= SANE_STATUS_GOOD && status <= SANE_STATUS_ACCESS_DENIED ? SANE_Status(status)
                                                                              : SANE_STATUS_IO_ERROR;
}

} // namespace

SANE_Status init(SANE_Int* version, SANE_Auth_Callback authorize)
{
    return checked(tollivar_sane_init(version, authorize));
}

SANE_Status getDevices(const SANE_Device*** list, SANE_Bool localOnly)
{
    clearStackBelow();
    return checked(tollivar_sane_get_devices(list, localOnly));
}

SANE_Status open(SANE_String_Const name, SANE_Handle* handle)
{
    clearStackBelow();
    return checked(tollivar_sane_open(name, handle));
}

SANE_Status controlOption(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value, SANE_Int* info)
{
    clearStackBelow();
    return checked(tollivar_sane_control_option(handle, option, action, value, info));
}

SANE_Status getParameters(SANE_Handle handle, SANE_Parameters* parameters)
{
    clearStackBelow();
    return checked(tollivar_sane_get_parameters(handle, parameters));
}

SANE_Status start(SANE_Handle handle)
{
    clearStackBelow();
    return checked(tollivar_sane_start(handle));
}

SANE_Status read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length)
{
    return checked(tollivar_sane_read(handle, data, maxLength, length));
}

} // namespace sanecall
