#include "course/PlaybackClock.h"

#include <utility>

PlaybackClock::PlaybackClock(TimeSource& wallTime, MusicPosition musicPosition, Continues continueCount,
    std::uint32_t start, RestartMusic restart)
    : wall(wallTime)
    , music(std::move(musicPosition))
    , continues(std::move(continueCount))
    , restartMusic(std::move(restart))
    , continuesSeen(continues ? continues() : 0u)
    , origin(start)
    , last(start)
    , lastWall(wall.ticks())
    , musicMovedAt(lastWall)
{
}

std::uint32_t PlaybackClock::now()
{
    if (holding)
        return last;
    // The count is read on both sides of the wall time: a stop that falls
    // between the two reads would otherwise put its time into the clock.
    const auto continuesNow = [this] { return continues ? continues() : 0u; };
    unsigned int continued = continuesNow();
    std::uint32_t wallNow = wall.ticks();
    for (unsigned int after = continuesNow(); after != continued; after = continuesNow()) {
        continued = after;
        wallNow = wall.ticks();
    }
    if (continued != continuesSeen) {
        // Stopped since the last look: that time was nobody's, the music's
        // included, whose output stopped with the process.
        continuesSeen = continued;
        lastWall = wallNow;
        musicMovedAt = wallNow;
    }
    const std::uint32_t wallOn = last + (wallNow - lastWall);
    std::uint32_t time = wallOn;
    if (const std::optional<std::uint32_t> position = music ? music() : std::nullopt) {
        if (position != lastMusic) {
            lastMusic = position;
            musicMovedAt = wallNow;
        }
        musicHeard = musicHeard || *position > 0;
        // A music that stands still (a device that hangs) would freeze the
        // pictures: past the limit the wall clock carries them on.
        if (wallNow - musicMovedAt <= (musicHeard ? stallLimit : startLimit)) {
            time = origin + *position;
            musicFollowed = true;
            if (carriedOn && restartMusic && time + behindLimit < wallOn) {
                // Holding the pictures until the music caught up would freeze
                // them as long again as the stall was.
                restartMusic(wallOn);
                seek(wallOn);
                time = wallOn;
            }
            carriedOn = false;
        } else {
            // Past the start limit too: music a browser kept off until a
            // click comes in late, and is started again where the pictures are.
            carriedOn = true;
        }
    } else {
        carriedOn = carriedOn || musicHeard;
    }
    if (time < last)
        time = last;
    last = time;
    lastWall = wallNow;
    return time;
}

void PlaybackClock::pause()
{
    if (!holding)
        now();
    holding = true;
}

void PlaybackClock::resume()
{
    if (holding)
        restartCounts();
    holding = false;
}

void PlaybackClock::seek(std::uint32_t time)
{
    origin = time;
    last = time;
    // A position from before the seek must not count as the music moving.
    lastMusic.reset();
    musicHeard = false;
    carriedOn = false;
    restartCounts();
}

void PlaybackClock::restartCounts()
{
    // A stop that came while the time was held was nobody's time either.
    continuesSeen = continues ? continues() : 0u;
    lastWall = wall.ticks();
    musicMovedAt = lastWall;
}
