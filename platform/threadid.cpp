#include "platform/threadid.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

unsigned long currentThreadId()
{
    return static_cast<unsigned long>(::syscall(SYS_gettid));
}

} // namespace platform
