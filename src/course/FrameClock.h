#pragma once

#include "course/TimeSource.h"

#include <cstdint>

// All times are SDL milliseconds; differences are unsigned 32-bit, so a wrap
// of the counter shows up as a huge elapsed value.
constexpr std::uint32_t notYetTicked = 0xFFFFFFFFu;

// Counts frames and logs "FPS: " with the count each time more than 1000 ms
// have passed since the last report. The first tick only starts the count.
class FpsCounter {
public:
    void frame(std::uint32_t now);

    std::uint32_t lastReport = notYetTicked;
    std::uint32_t frameCount = 0;
};

// Holds each pass to at least 16 ms. While passes are short the schedule
// advances by exactly 16 ms, so an oversleep is made up next pass; a pass of
// 16 ms or more restarts the schedule from its own time (no catching up).
class FrameLimiter {
public:
    static constexpr std::uint32_t period = 16;

    void wait(std::uint32_t now, TimeSource& time);

    std::uint32_t frameStart = notYetTicked;
};

class FrameClock {
public:
    // The source must outlive the clock.
    explicit FrameClock(TimeSource& source);

    // Once per pass, at its end.
    void tick();

    FpsCounter fps;
    FrameLimiter limiter;

private:
    TimeSource& time;
};
