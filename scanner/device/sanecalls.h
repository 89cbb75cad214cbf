#pragma once

#include <sane/sane.h>

// SANE's calls that answer with a status, each as SANE declares it. A
// backend may hand back a number that is no status at all (the net backend
// does when its connection breaks); C++ must not take that for a
// SANE_Status, so these read the answer as a plain number and turn
// anything unknown into SANE_STATUS_IO_ERROR.
namespace sanecall {

// The status a plain answer stands for.
SANE_Status statusFrom(int answer);

SANE_Status init(SANE_Int* version, SANE_Auth_Callback authorize);
SANE_Status getDevices(const SANE_Device*** list, SANE_Bool localOnly);
SANE_Status open(SANE_String_Const name, SANE_Handle* handle);
SANE_Status controlOption(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value, SANE_Int* info);
SANE_Status getParameters(SANE_Handle handle, SANE_Parameters* parameters);
SANE_Status start(SANE_Handle handle);
SANE_Status read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length);

} // namespace sanecall
