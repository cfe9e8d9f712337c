#include "capture/Progress.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

Progress::Progress(std::uint32_t totalPasses, std::uint32_t totalFrames)
    : passes(totalPasses == 0 ? 1 : totalPasses)
    , frames(totalFrames)
    , terminal(isatty(STDOUT_FILENO) == 1)
    , start(std::chrono::steady_clock::now())
    , lastShown(start)
{
}

double Progress::secondsSinceStart() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Progress::passDone(std::uint32_t pass, bool keptFrame)
{
    passesDone = pass + 1;
    kept += keptFrame ? 1u : 0u;
    const auto now = std::chrono::steady_clock::now();
    if (terminal) {
        if (now - lastShown > std::chrono::milliseconds(200) || passesDone == passes) {
            lastShown = now;
            show(false);
        }
        return;
    }
    const auto tenth = static_cast<std::uint32_t>(10ull * passesDone / passes);
    if (tenth > lastTenth) {
        lastTenth = tenth;
        show(false);
    }
}

void Progress::show(bool last)
{
    const double seconds = secondsSinceStart();
    const double rate = seconds > 0.0 ? kept / seconds : 0.0;
    // The time left at the pace the passes have gone so far.
    const double left = passesDone > 0 ? seconds * (passes - passesDone) / passesDone : 0.0;
    char line[160];
    if (terminal) {
        constexpr int width = 30;
        const int filled = static_cast<int>(static_cast<double>(width) * passesDone / passes);
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.resize(width, '.');
        std::snprintf(line, sizeof line, "\r[%s] %u/%u frames  %5.1f frames/s  %3.0f s left ", bar.c_str(), kept,
            frames, rate, left);
        std::cout << line << (last ? "\n" : "") << std::flush;
    } else {
        std::snprintf(
            line, sizeof line, "captured %u of %u frames, %.1f frames/s, %.0f s left\n", kept, frames, rate, left);
        std::cout << line << std::flush;
    }
}

void Progress::finish()
{
    if (terminal)
        show(true);
}
