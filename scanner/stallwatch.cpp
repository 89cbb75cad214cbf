#include "scanner/stallwatch.h"

void StallWatch::pageStarting(Clock::time_point now)
{
    phase = Phase::Starting;
    since = now;
}

void StallWatch::frameStarted(Clock::time_point now)
{
    phase = Phase::Reading;
    since = now;
}

void StallWatch::bytesCame(Clock::time_point now)
{
    if (phase == Phase::Idle)
        return;
    phase = Phase::Reading;
    since = now;
}

void StallWatch::idle()
{
    phase = Phase::Idle;
}

StallWatch::Verdict StallWatch::verdict(Clock::time_point now) const
{
    switch (phase) {
    case Phase::Idle:
        return Verdict::Fine;
    case Phase::Starting:
        return now - since >= startBound ? Verdict::StartTooLong : Verdict::Fine;
    case Phase::Reading:
        return now - since >= stallBound ? Verdict::Stalled : Verdict::Fine;
    }
    return Verdict::Fine;
}

std::chrono::milliseconds StallWatch::waited(Clock::time_point now) const
{
    if (phase == Phase::Idle)
        return std::chrono::milliseconds(0);
    return std::chrono::duration_cast<std::chrono::milliseconds>(now - since);
}
