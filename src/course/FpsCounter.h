#pragma once

#include "course/TimeSource.h"

#include <cstdint>

// Counts frames and logs "FPS: " with the count each time more than 1000 ms
// have passed since the last report. The first tick only starts the count.
class FpsCounter {
public:
    void frame(std::uint32_t now);

    std::uint32_t lastReport = notYetTicked;
    std::uint32_t frameCount = 0;
};
