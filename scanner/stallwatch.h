#pragma once

#include <chrono>

// Tells from what the scanner process reports whether the device stopped
// answering while a page is read. sane_start (a lamp warming up, paper
// being drawn in) has its bound; once it has returned, the stall bound
// counts from the first byte expected and again from each byte that came.
// While no page is read (the frame is being stored, or a flatbed waits for
// the operator) nothing counts.
class StallWatch
{
public:
    using Clock = std::chrono::steady_clock;
    enum class Verdict { Fine, StartTooLong, Stalled };

    StallWatch(std::chrono::milliseconds startBound, std::chrono::milliseconds stallBound)
        : startBound(startBound), stallBound(stallBound)
    {
    }

    void pageStarting(Clock::time_point now); // sane_start is called
    void frameStarted(Clock::time_point now); // it returned: bytes are awaited
    void bytesCame(Clock::time_point now);
    void idle();                               // no page is being read

    Verdict verdict(Clock::time_point now) const;
    // How long the current wait has lasted.
    std::chrono::milliseconds waited(Clock::time_point now) const;

private:
    enum class Phase { Idle, Starting, Reading };

    std::chrono::milliseconds startBound;
    std::chrono::milliseconds stallBound;
    Phase phase = Phase::Idle;
    Clock::time_point since{};
};
