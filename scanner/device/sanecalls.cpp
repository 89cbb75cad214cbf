#include "scanner/device/sanecalls.h"

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

SANE_Status statusFrom(int answer)
{
    return answer >= SANE_STATUS_GOOD && answer <= SANE_STATUS_ACCESS_DENIED ? SANE_Status(answer)
                                                                              : SANE_STATUS_IO_ERROR;
}

SANE_Status init(SANE_Int* version, SANE_Auth_Callback authorize)
{
    return statusFrom(tollivar_sane_init(version, authorize));
}

SANE_Status getDevices(const SANE_Device*** list, SANE_Bool localOnly)
{
    return statusFrom(tollivar_sane_get_devices(list, localOnly));
}

SANE_Status open(SANE_String_Const name, SANE_Handle* handle)
{
    return statusFrom(tollivar_sane_open(name, handle));
}

SANE_Status controlOption(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value, SANE_Int* info)
{
    return statusFrom(tollivar_sane_control_option(handle, option, action, value, info));
}

SANE_Status getParameters(SANE_Handle handle, SANE_Parameters* parameters)
{
    return statusFrom(tollivar_sane_get_parameters(handle, parameters));
}

SANE_Status start(SANE_Handle handle)
{
    return statusFrom(tollivar_sane_start(handle));
}

SANE_Status read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length)
{
    return statusFrom(tollivar_sane_read(handle, data, maxLength, length));
}

} // namespace sanecall
