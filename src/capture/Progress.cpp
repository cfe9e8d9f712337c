#include "capture/Progress.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

Progress::Progress(std::uint32_t totalFrames)
    : total(totalFrames == 0 ? 1 : totalFrames)
    , terminal(isatty(STDOUT_FILENO) == 1)
    , start(std::chrono::steady_clock::now())
    , lastShown(start)
{
}

double Progress::framesPerSecond() const
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return seconds > 0.0 ? done / seconds : 0.0;
}

void Progress::frameDone(std::uint32_t frame)
{
    done = frame + 1;
    const auto now = std::chrono::steady_clock::now();
    if (terminal) {
        if (now - lastShown > std::chrono::milliseconds(200) || done == total) {
            lastShown = now;
            show(done, false);
        }
        return;
    }
    const std::uint32_t tenth = static_cast<std::uint32_t>(10ull * done / total);
    if (tenth > lastTenth) {
        lastTenth = tenth;
        show(done, false);
    }
}

void Progress::show(std::uint32_t frames, bool last)
{
    const double rate = framesPerSecond();
    const double left = rate > 0.0 ? (total - frames) / rate : 0.0;
    char line[160];
    if (terminal) {
        constexpr int width = 30;
        const int filled = static_cast<int>(static_cast<double>(width) * frames / total);
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.resize(width, '.');
        std::snprintf(line, sizeof line, "\r[%s] %u/%u frames  %5.1f frames/s  %3.0f s left ", bar.c_str(), frames,
            total, rate, left);
        std::cout << line << (last ? "\n" : "") << std::flush;
    } else {
        std::snprintf(
            line, sizeof line, "captured %u of %u frames, %.1f frames/s, %.0f s left\n", frames, total, rate, left);
        std::cout << line << std::flush;
    }
}

void Progress::finish()
{
    if (terminal)
        show(done, true);
}
