#pragma once

namespace platform {

// The operating system's number for the calling thread, as printed in the
// log file. On Windows this was GetCurrentThreadId; here it is the kernel's
// thread id, which also tells apart the worker threads of OpenMP.
unsigned long currentThreadId();

} // namespace platform
