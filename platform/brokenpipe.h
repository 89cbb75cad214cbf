#pragma once

namespace platform {

// A write to a connection whose other end has gone (a network scanner that
// was switched off) fails with an error instead of ending the process:
// Windows has no such signal, and POSIX ends a process that receives it.
void ignoreBrokenPipes();

} // namespace platform
