#pragma once

#include "course/FpsCounter.h"
#include "course/FrameLimiter.h"
#include "course/TimeSource.h"

// The pass's end when every frame is drawn: the frame counter's report, then
// the limiter's wait.
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
