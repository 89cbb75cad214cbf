#include "algorithms/openmpwaiting.h"

#include <cstdlib>

#include <unistd.h>

void restartWithPassiveOpenMpWaiting(char** argv)
{
    // Set by the user, or by the restart itself: it stands.
    if (std::getenv("OMP_WAIT_POLICY"))
        return;
    // Spinning workers take the cores from the image library's own threads
    // and from whatever else runs on the machine.
    if (setenv("OMP_WAIT_POLICY", "PASSIVE", 1) != 0)
        return;
    execv("/proc/self/exe", argv);
}
