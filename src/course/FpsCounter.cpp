#include "course/FpsCounter.h"

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
