#include "course/Pacing.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/Scene.h"
#include "course/SceneSequence.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace {

// Wall time that moves only by what the test spends and the sleeps asked for.
class FakeWall : public TimeSource {
public:
    std::uint32_t ticks() override { return now; }
    void delay(std::uint32_t ms) override { now += ms; }
    std::uint32_t now = 5000;
};

// A scene of `length` passes whose frames cost `renderCost` ms to draw. It
// records the elapsed time after every update.
class TimedScene : public Scene {
public:
    TimedScene(unsigned int length, FakeWall& wall, std::uint32_t renderCost)
        : length(length)
        , wall(wall)
        , renderCost(renderCost)
    {
    }
    void draw()
    {
        EXPECT_EQ(updates.size(), skipped + drawn) << "drawn or skipped once per pass, before the update";
        wall.now += renderCost;
        ++drawn;
    }
    void skip() override { ++skipped; }
    bool update(unsigned int step) override
    {
        elapsed += step;
        updates.push_back(elapsed);
        return updates.size() < length;
    }
    float fade() const override { return 0.0f; }
    unsigned int length;
    FakeWall& wall;
    std::uint32_t renderCost;
    std::uint32_t elapsed = 0;
    std::vector<std::uint32_t> updates;
    std::size_t drawn = 0;
    std::size_t skipped = 0;
};

// The live loop's host: the pacing decides, drawing costs the scene's time,
// and `afterPass` may do something between passes (stop the process).
class PacedHost : public LoopHost {
public:
    PacedHost(Pacing& pacing, PlaybackClock& clock, FakeWall& wall)
        : pacing(pacing)
        , clock(clock)
        , wall(wall)
    {
    }
    bool wants(std::uint32_t pass) override { return pacing.draws(pass); }
    bool show(std::uint32_t, Scene* scene) override
    {
        if (scene != nullptr)
            static_cast<TimedScene*>(scene)->draw();
        return true;
    }
    bool endOfPass(std::uint32_t nextPass, bool drawn) override
    {
        if (drawn) {
            onScreen.push_back({ nextPass - 1, clock.now() });
            pacing.frameShown(nextPass);
        }
        if (afterPass)
            afterPass(nextPass);
        return true;
    }
    struct Shown {
        std::uint32_t pass;
        std::uint32_t clock; // when it reached the screen
    };
    Pacing& pacing;
    PlaybackClock& clock;
    FakeWall& wall;
    std::vector<Shown> onScreen;
    std::function<void(std::uint32_t)> afterPass;
};

std::vector<std::uint32_t> everyStep(std::size_t count)
{
    std::vector<std::uint32_t> times;
    for (std::uint32_t t = 16; times.size() < count; t += 16)
        times.push_back(t);
    return times;
}

} // namespace

// Frames that take 40 ms, longer than a step: the scenes are moved on by
// update-only passes, every update is taken once, each frame reaches the
// screen within a step of its time, and a stop of ten seconds in the middle
// (SIGSTOP, then SIGCONT) neither makes the pictures race nor freezes them.
TEST(ClockPacing, SlowFramesAreSkippedEveryUpdateIsTakenOnceAndAStopIsLeftOut)
{
    LogCapture quiet;
    for (const bool stopped : { false, true }) {
        SCOPED_TRACE(stopped ? "stopped and continued at pass 150" : "no stop");
        FakeWall wall;
        unsigned int continues = 0;
        PlaybackClock clock(wall, nullptr, [&continues] { return continues; });
        ClockPacing pacing(clock, wall);
        TimedScene one(100, wall, 40), two(120, wall, 40), three(80, wall, 40);
        SceneSequence scenes({ &one, &two, &three });
        PacedHost host(pacing, clock, wall);
        if (stopped)
            host.afterPass = [&](std::uint32_t next) {
                if (next == 150) {
                    wall.now += 10000;
                    ++continues;
                }
            };
        const LoopResult result = runPasses(scenes, host, 16);

        EXPECT_EQ(result.end, LoopResult::End::Finished);
        EXPECT_EQ(result.passes, 100u + 120u + 80u + 1u);
        for (TimedScene* scene : { &one, &two, &three }) {
            EXPECT_EQ(scene->updates, everyStep(scene->length));
            EXPECT_GT(scene->skipped, scene->drawn) << "a 40 ms frame leaves out more than every other pass";
        }
        // Once the time a frame takes is learnt, each is on screen within a step of its own time.
        for (std::size_t k = 8; k < host.onScreen.size(); ++k) {
            const auto due = static_cast<long>(host.onScreen[k].pass) * 16;
            EXPECT_LE(std::labs(static_cast<long>(host.onScreen[k].clock) - due), 16L) << host.onScreen[k].pass;
        }
        // The stop is nobody's time: the run ends with the clock at its length, and frames go on being shown after it.
        EXPECT_LE(clock.now(), 301u * 16u + 40u);
        std::size_t shownAfterStop = 0;
        for (const auto& frame : host.onScreen)
            shownAfterStop += frame.pass >= 150 ? 1u : 0u;
        EXPECT_GT(shownAfterStop, 40u);
    }
}

// A machine that keeps up draws every pass, each on time, and waits between.
TEST(ClockPacing, FastFramesAreAllDrawnAndHeldToTheirTime)
{
    LogCapture quiet;
    FakeWall wall;
    PlaybackClock clock(wall, nullptr, nullptr);
    ClockPacing pacing(clock, wall);
    TimedScene only(200, wall, 5);
    SceneSequence scenes({ &only });
    PacedHost host(pacing, clock, wall);
    const LoopResult result = runPasses(scenes, host, 16);
    EXPECT_EQ(result.drawn, result.passes);
    ASSERT_EQ(host.onScreen.size(), 201u);
    for (const auto& frame : host.onScreen)
        EXPECT_NEAR(frame.clock, frame.pass * 16.0, 8.0) << frame.pass;
}

// The clock follows the music's own pace, leaves a stop out, falls back on
// the wall clock when the music stalls, and never goes back.
TEST(PlaybackClock, FollowsTheMusicHoldsWhenItComesBackBehindAndCarriesOnWhenItStalls)
{
    FakeWall wall;
    std::optional<std::uint32_t> music = 0;
    unsigned int continues = 0;
    PlaybackClock clock(
        wall, [&music] { return music; }, [&continues] { return continues; });
    const std::uint32_t start = wall.now;
    EXPECT_EQ(clock.now(), 0u);
    wall.now = start + 100;
    music = 103; // a device a little faster than the wall clock
    EXPECT_EQ(clock.now(), 103u);
    music = 90; // never back
    EXPECT_EQ(clock.now(), 103u);
    // The music stands still: the pictures hold with it, then after the
    // stall limit the wall clock carries them on from where they stand.
    music = 200;
    EXPECT_EQ(clock.now(), 200u);
    wall.now += PlaybackClock::stallLimit;
    EXPECT_EQ(clock.now(), 200u);
    wall.now += 50;
    EXPECT_EQ(clock.now(), 250u);
    // Without music, wall time; the time stopped is left out.
    music.reset();
    wall.now += 30;
    EXPECT_EQ(clock.now(), 280u);
    wall.now += 60000;
    ++continues;
    EXPECT_EQ(clock.now(), 280u);
    wall.now += 16;
    EXPECT_EQ(clock.now(), 296u);
}

// A sound server's stream takes most of a second to start: the first frame
// holds for the first sound longer than for a stall, then the wall clock
// carries the pictures on all the same.
TEST(PlaybackClock, TheFirstFrameWaitsForTheFirstSoundUpToTheStartLimit)
{
    FakeWall wall;
    const std::uint32_t start = wall.now;
    PlaybackClock clock(
        wall, [] { return std::optional<std::uint32_t>(0); }, [] { return 0u; });
    EXPECT_EQ(clock.now(), 0u);
    wall.now = start + PlaybackClock::startLimit;
    EXPECT_EQ(clock.now(), 0u);
    wall.now += 16;
    EXPECT_EQ(clock.now(), 16u);
}

// A rehearsal's pause holds the time however long the wall clock and a
// stalled music run on, and a resume goes on from there without counting
// the pause; a seek sets the time back or on, paused or not, and the music
// counts from there once it is heard again. With music and without.
TEST(PlaybackClock, APauseHoldsTheTimeAndASeekSetsItBackOrOn)
{
    for (const bool withMusic : { true, false }) {
        SCOPED_TRACE(withMusic ? "music" : "wall clock");
        FakeWall wall;
        std::optional<std::uint32_t> music;
        PlaybackClock clock(
            wall, [&] { return withMusic ? music : std::nullopt; }, [] { return 0u; }, 1000);
        // The music's position counts since its start; the wall clock moves with it.
        const auto play = [&](std::uint32_t ms) {
            wall.now += ms;
            music = music.value_or(0) + ms;
        };
        play(100);
        EXPECT_EQ(clock.now(), 1100u);
        clock.pause();
        wall.now += PlaybackClock::stallLimit + 5000;
        EXPECT_TRUE(clock.paused());
        EXPECT_EQ(clock.now(), 1100u);
        clock.resume();
        EXPECT_EQ(clock.now(), 1100u);
        play(16);
        EXPECT_EQ(clock.now(), 1116u);

        clock.seek(500); // back, past what the clock has shown
        music = 0;
        EXPECT_EQ(clock.now(), 500u);
        play(40);
        EXPECT_EQ(clock.now(), 540u);

        clock.pause();
        clock.seek(60000); // on, paused: it holds there
        music = 0;
        wall.now += 3000;
        EXPECT_EQ(clock.now(), 60000u);
        clock.resume();
        play(16);
        EXPECT_EQ(clock.now(), 60016u);
    }
}
