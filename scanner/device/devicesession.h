#pragma once

class ProcessChannel;

// The scanner process's whole life: one SANE session (sane_init to
// sane_exit) that lists the scanners and runs the scan started from that
// listing, as the program asks through the channel, until the program
// closes it. Returns the process's exit code.
int runDeviceSession(ProcessChannel& channel);
