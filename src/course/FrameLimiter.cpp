#include "course/FrameLimiter.h"

void FrameLimiter::wait(std::uint32_t now, TimeSource& time)
{
    if (frameStart == notYetTicked)
        frameStart = now;
    const std::uint32_t elapsed = now - frameStart;
    if (elapsed < period) {
        time.delay(period - elapsed);
        now = frameStart + period; // the schedule, not the time after the sleep
    }
    frameStart = now;
}
