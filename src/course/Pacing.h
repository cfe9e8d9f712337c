#pragma once

#include "course/FrameClock.h"
#include "course/PlaybackClock.h"
#include "course/TimeSource.h"

#include <cstdint>

// How the live loop keeps time: which passes it draws, and what it does
// after each frame it shows (the "FPS: " report and the wait).
class Pacing {
public:
    virtual ~Pacing() = default;
    // Whether pass `pass` is drawn; one that is not only moves the scenes on.
    virtual bool draws(std::uint32_t pass) = 0;
    // After a drawn pass, before pass `nextPass`.
    virtual void frameShown(std::uint32_t nextPass) = 0;
};

// Every pass drawn, whatever it costs, each held to at least 16 ms by the
// frame clock. On a machine that cannot draw a frame in 16 ms the pictures
// slow down and the music runs ahead.
class EveryFramePacing : public Pacing {
public:
    // The source must outlive the pacing.
    explicit EveryFramePacing(TimeSource& time);
    bool draws(std::uint32_t) override { return true; }
    void frameShown(std::uint32_t) override { clock.tick(); }

private:
    FrameClock clock;
};

// The pictures follow the playback clock: pass n is due on screen when the
// clock reaches n x 16 ms. A pass whose successor will already be due by the
// time it is on screen is not drawn (the scenes only move on), so a slow
// frame costs frames, never time; a frame ready early waits. How long a frame
// takes from its start to the screen is learnt from the frames before it.
class ClockPacing : public Pacing {
public:
    static constexpr std::uint32_t step = FrameLimiter::period;
    // A frame's way to the screen is never reckoned longer than this.
    static constexpr std::uint32_t longestLead = 250;

    // Both must outlive the pacing.
    ClockPacing(PlaybackClock& clock, TimeSource& time);
    bool draws(std::uint32_t pass) override;
    void frameShown(std::uint32_t nextPass) override;

    // The time a frame is expected to take to reach the screen, in ms.
    std::uint32_t lead() const { return expectedLead; }

private:
    PlaybackClock& clock;
    TimeSource& time;
    FpsCounter fps;
    std::uint32_t expectedLead = 0;
    std::uint32_t frameBegun = 0; // clock time
};
