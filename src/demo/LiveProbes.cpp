#include "demo/LiveProbes.h"

#include "course/RunLength.h"
#include "demo/HoldStill.h"
#include "demo/Music.h"
#include "engine/FramePresentation.h"

#include <SDL.h>

#include <cstdlib>
#include <optional>

LiveProbes::LiveProbes()
{
    if (const char* path = std::getenv("LUMAROLL_SYNC_LOG"); path != nullptr && path[0] != '\0')
        syncLog.reset(std::fopen(path, "w"));
    if (const char* time = std::getenv("LUMAROLL_STOP_AT"); time != nullptr && time[0] != '\0')
        // The first frame due at or after that time: a time between two
        // frames rounds up.
        stopAtPass = static_cast<long>((std::strtoul(time, nullptr, 10) + frameMilliseconds - 1) / frameMilliseconds);
}

void LiveProbes::frameShown(
    std::uint32_t pass, std::uint32_t begun, const std::function<std::uint32_t()>& readClock, const Music* music)
{
    if (syncLog) {
        const std::uint32_t before = SDL_GetTicks();
        const std::uint32_t shown = readClock();
        const std::uint32_t after = SDL_GetTicks();
        const std::optional<std::uint32_t> position = music != nullptr ? music->position() : std::nullopt;
        std::fprintf(syncLog.get(), "%u %u %u %u %ld %u %u\n", pass, pass * frameMilliseconds, begun, shown,
            position ? static_cast<long>(*position) : -1L, after, before);
    } else {
        readClock();
    }
    // At or after: the live loop leaves frames out to keep in step, so the
    // frame of that very time may never be shown.
    if (stopAtPass >= 0 && static_cast<long>(pass) >= stopAtPass) {
        stopAtPass = -1;
        if (syncLog) {
            // The line before names the frame that stands.
            std::fputs("stopped\n", syncLog.get());
            std::fflush(syncLog.get());
        }
        FramePresentation::waitUntilShown();
        holdStill();
    }
}
