#include "platform/brokenpipe.h"

#include <csignal>

namespace platform {

void ignoreBrokenPipes()
{
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

} // namespace platform
