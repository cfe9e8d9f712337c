#include "course/Pacing.h"

#include "course/StopSignals.h"

#include <algorithm>

EveryFramePacing::EveryFramePacing(TimeSource& time)
    : clock(time)
{
}

ClockPacing::ClockPacing(PlaybackClock& playback, TimeSource& wall)
    : clock(playback)
    , time(wall)
{
}

bool ClockPacing::draws(std::uint32_t pass)
{
    const std::uint32_t now = clock.now();
    const std::uint64_t nextDue = (static_cast<std::uint64_t>(pass) + 1u) * step;
    if (static_cast<std::uint64_t>(now) + expectedLead >= nextDue)
        return false;
    frameBegun = now;
    return true;
}

void ClockPacing::frameShown(std::uint32_t nextPass)
{
    fps.frame(time.ticks());
    std::uint32_t now = clock.now();
    // A moving average over about four frames: one slow frame (a scene's
    // first) moves it only a little.
    const std::uint32_t took = std::min(now - frameBegun, longestLead);
    expectedLead = (3u * expectedLead + took + 2u) / 4u;
    const std::uint64_t due = static_cast<std::uint64_t>(nextPass) * step;
    // The clock always moves on (a stalled music gives way to the wall
    // clock), so this ends; a stop signal ends it at once.
    while (static_cast<std::uint64_t>(now) + expectedLead < due && StopSignals::received() == 0) {
        time.delay(static_cast<std::uint32_t>(std::min<std::uint64_t>(due - now - expectedLead, step)));
        now = clock.now();
    }
}
