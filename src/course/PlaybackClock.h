#pragma once

#include "course/TimeSource.h"

#include <cstdint>
#include <functional>
#include <optional>

// The run's time in ms since its first frame, as the live loop's pictures
// follow it: the soundtrack's own position while it plays on a real output,
// and the wall clock where there is none (no music, a silent output, music
// that has stalled). It never goes back: when the music comes back behind the
// wall clock, the time holds until the music catches up; or, when the wall
// clock had to carry the pictures on (a stall past the limit, an output gone
// away, music that started only after the start limit), the music is
// started again where the pictures are, so that neither waits for the other
// longer than the stall lasted. The time the
// process spent stopped (SIGSTOP, a suspend) is left out, so that it goes on
// where it was instead of racing to catch up. A rehearsal may pause it, and
// set it back or on (a seek): those are the only ways it goes back.
class PlaybackClock {
public:
    // The music's position in ms since it started, empty where it has none.
    using MusicPosition = std::function<std::optional<std::uint32_t>()>;
    // How many times the process has been continued after a stop.
    using Continues = std::function<unsigned int()>;
    // Starts the music again at run time `time` ms; its position counts from there.
    using RestartMusic = std::function<void(std::uint32_t time)>;

    // The music that has not moved for this long has stalled.
    static constexpr std::uint32_t stallLimit = 500;
    // Before its first sound is heard, the music is given longer: a sound
    // server's stream takes most of a second to start, and the first frame
    // holds for it rather than running ahead and then waiting.
    static constexpr std::uint32_t startLimit = 2000;
    // Music that comes back further than this behind pictures the wall clock
    // carried on is started again where they are.
    static constexpr std::uint32_t behindLimit = 100;

    // Starts at `start` ms now; the music's position counts from there. The
    // sources must outlive the clock.
    PlaybackClock(TimeSource& wall, MusicPosition music, Continues continues, std::uint32_t start = 0,
        RestartMusic restartMusic = {});

    std::uint32_t now();

    // Holds the time where it stands until resume(), whatever the music and
    // the wall clock do. The music is paused with it: the time it stands
    // still is neither a stall nor carried on by the wall clock on resume.
    void pause();
    void resume();
    bool paused() const { return holding; }
    // Whether the time has come from the music's position at all, or from
    // the wall clock alone (no music, or music never heard).
    bool followedMusic() const { return musicFollowed; }
    // The time is `time` from here on, back or on, paused or not: the music
    // starts again there, its position counted from `time` and its first
    // sound waited for as at the start.
    void seek(std::uint32_t time);

private:
    // The music's and the wall clock's counts start again from now.
    void restartCounts();

    TimeSource& wall;
    MusicPosition music;
    Continues continues;
    RestartMusic restartMusic;
    unsigned int continuesSeen;
    std::uint32_t origin;
    std::uint32_t last;
    std::uint32_t lastWall;
    std::optional<std::uint32_t> lastMusic;
    std::uint32_t musicMovedAt; // wall time
    bool musicHeard = false; // past its start
    bool musicFollowed = false;
    bool carriedOn = false; // by the wall clock while the music stood still or was gone
    bool holding = false;
};
