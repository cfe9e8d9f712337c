#pragma once

#include "course/TimeSource.h"

#include <cstdint>

// Holds each pass to at least 16 ms. While passes are short the schedule
// advances by exactly 16 ms, so an oversleep is made up next pass; a pass of
// 16 ms or more restarts the schedule from its own time (no catching up).
class FrameLimiter {
public:
    static constexpr std::uint32_t period = 16;

    void wait(std::uint32_t now, TimeSource& time);

    std::uint32_t frameStart = notYetTicked;
};
