#include "course/FrameClock.h"

#include "core/Logger.h"

void FpsCounter::frame(std::uint32_t now)
{
    if (lastReport == notYetTicked) {
        lastReport = now;
        frameCount = 0;
        return;
    }
    ++frameCount;
    // Strictly more than 1000 ms: a window of exactly 1000 ms is not reported.
    if (now - lastReport > 1000u) {
        VornE::log(VornE::Info, "FPS: ", frameCount, "\n");
        lastReport = now;
        frameCount = 0;
    }
}

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
