#include "course/FrameClock.h"

FrameClock::FrameClock(TimeSource& source)
    : time(source)
{
}

void FrameClock::tick()
{
    const std::uint32_t now = time.ticks();
    fps.frame(now);
    limiter.wait(now, time); // logging time in frame() is deliberately not seen here
}
