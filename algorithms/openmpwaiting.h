#pragma once

// How the OpenMP runtime's idle workers wait between parallel regions.

// Makes idle OpenMP workers sleep rather than spin. The GNU runtime reads
// its wait policy once, as it loads, before main runs: unless a policy is
// already set, this starts the program again (same arguments) with
// OMP_WAIT_POLICY=PASSIVE. Call it first thing in main, before anything
// else runs; it returns only when nothing is to be done or the restart
// failed, and the program then goes on as it is.
void restartWithPassiveOpenMpWaiting(char** argv);
