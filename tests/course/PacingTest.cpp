#include "course/Pacing.h"
#include "FakeTime.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/Scene.h"
#include "course/SceneSequence.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

// A scene of `length` passes that records the elapsed time after every update.
struct CountedScene : Scene {
    void skip() override { ++skipped; }
    bool update(unsigned int step) override
    {
        updates.push_back(elapsed += step);
        return updates.size() < length;
    }
    float fade() const override { return 0.0f; }
    std::size_t length = 0, drawn = 0, skipped = 0;
    std::uint32_t elapsed = 0;
    std::vector<std::uint32_t> updates;
};

// The live loop on a fake wall clock, paced by the playback clock: drawing a
// frame costs `cost` ms, and a stop (SIGSTOP, then SIGCONT) of `stop` ms may
// come before pass 150.
struct PacedRun : LoopHost {
    bool wants(std::uint32_t pass) override { return pacing.draws(pass); }
    bool show(std::uint32_t, Scene* scene) override
    {
        if (auto* counted = static_cast<CountedScene*>(scene)) {
            ++counted->drawn;
            wall.now += cost;
        }
        return true;
    }
    bool endOfPass(std::uint32_t nextPass, bool drawn) override
    {
        if (drawn) {
            onScreen.push_back({ nextPass - 1, clock.now() });
            pacing.frameShown(nextPass);
        }
        if (nextPass == 150 && stop > 0) {
            wall.now += stop;
            ++continues;
        }
        return true;
    }
    std::uint32_t cost = 0, stop = 0;
    FakeTime wall;
    unsigned int continues = 0;
    PlaybackClock clock { wall, nullptr, [this] { return continues; } };
    ClockPacing pacing { clock, wall };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> onScreen; // pass, and the clock when it reached the screen
};

} // namespace

// Frames that take 40 ms are skipped, each one drawn reaching the screen
// within a step of its time, and a stop of ten seconds in the middle neither
// makes the pictures race nor freezes them; frames that take 5 ms are all
// drawn, each held to its time. Every update is taken once.
TEST(ClockPacing, SlowFramesAreSkippedFastOnesHeldToTheirTimeEveryUpdateTakenOnceAndAStopLeftOut)
{
    LogCapture quiet;
    for (const auto& [cost, stop] : { std::pair { 40u, 0u }, { 40u, 10000u }, { 5u, 0u } }) {
        SCOPED_TRACE(std::to_string(cost) + " ms a frame, a stop of " + std::to_string(stop));
        PacedRun run;
        run.cost = cost;
        run.stop = stop;
        CountedScene scenes[3];
        scenes[0].length = 100;
        scenes[1].length = 120;
        scenes[2].length = 80;
        SceneSequence sequence({ &scenes[0], &scenes[1], &scenes[2] });
        const LoopResult result = runPasses(sequence, run, 16);

        EXPECT_EQ(result.end, LoopResult::End::Finished);
        EXPECT_EQ(result.passes, 100u + 120u + 80u + 1u);
        for (const CountedScene& scene : scenes) {
            ASSERT_EQ(scene.updates.size(), scene.length);
            for (std::size_t k = 0; k < scene.length; ++k)
                EXPECT_EQ(scene.updates[k], 16 * (k + 1));
            if (cost > 16) {
                EXPECT_GT(scene.skipped, scene.drawn) << "a 40 ms frame leaves out more than every other pass";
            }
        }
        if (cost < 16) {
            EXPECT_EQ(result.drawn, result.passes);
        }
        // Once the time a frame takes is learnt, each is on screen within a
        // step of its own time (half a step when drawing keeps up).
        for (std::size_t k = cost > 16 ? 8 : 0; k < run.onScreen.size(); ++k) {
            const auto [pass, clock] = run.onScreen[k];
            EXPECT_LE(std::labs(static_cast<long>(clock) - static_cast<long>(pass) * 16), cost > 16 ? 16L : 8L) << pass;
        }
        // The stop is nobody's time: the run ends with the clock at its
        // length, and frames go on being shown after it.
        EXPECT_LE(run.clock.now(), 301u * 16u + 40u);
        EXPECT_GT(
            std::count_if(run.onScreen.begin(), run.onScreen.end(), [](auto frame) { return frame.first >= 150; }), 40);
    }
}

// The clock follows the music's own pace, leaves a stop out, falls back on
// the wall clock when the music stalls, and never goes back.
TEST(PlaybackClock, FollowsTheMusicHoldsWhenItComesBackBehindAndCarriesOnWhenItStalls)
{
    FakeTime wall;
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
// waits up to two seconds for the first sound, where music once heard that
// stands still is given half a second; past either the wall clock carries
// the pictures on from where they stood.
TEST(PlaybackClock, TheFirstFrameWaitsTwoSecondsForTheFirstSoundAndAStallHalfASecond)
{
    FakeTime wall;
    const std::uint32_t start = wall.now;
    std::optional<std::uint32_t> music = 0;
    PlaybackClock clock(
        wall, [&music] { return music; }, [] { return 0u; });
    EXPECT_EQ(clock.now(), 0u);
    wall.now = start + 2000;
    EXPECT_EQ(clock.now(), 0u);
    wall.now = start + 2001;
    EXPECT_EQ(clock.now(), 1u);

    wall.now = start;
    PlaybackClock heard(
        wall, [&music] { return music; }, [] { return 0u; });
    music = 40;
    EXPECT_EQ(heard.now(), 40u);
    wall.now = start + 500;
    EXPECT_EQ(heard.now(), 40u);
    wall.now = start + 501;
    EXPECT_EQ(heard.now(), 41u);
}

// A rehearsal's pause holds the time however long the wall clock and a
// stalled music run on, and a resume goes on from there without counting
// the pause; a seek sets the time back or on, paused or not, and the music
// counts from there once it is heard again. With music and without.
TEST(PlaybackClock, APauseHoldsTheTimeAndASeekSetsItBackOrOn)
{
    for (const bool withMusic : { true, false }) {
        SCOPED_TRACE(withMusic ? "music" : "wall clock");
        FakeTime wall;
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
        if (withMusic) {
            wall.now += 1000; // the stream starts again: its first sound is waited for as at the start
            EXPECT_EQ(clock.now(), 500u);
        }
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

namespace {

// A clock that has followed the music for 400 ms, counting its restarts.
struct PlayingFor400 {
    FakeTime wall;
    std::optional<std::uint32_t> music = 0;
    int restarts = 0;
    PlaybackClock clock { wall, [this] { return music; }, [] { return 0u; }, 0, [this](std::uint32_t) { ++restarts; } };
    PlayingFor400()
    {
        wall.now += 400;
        music = 400;
        clock.now();
    }
};

} // namespace

// Music that comes back behind pictures the wall clock carried on (a sound
// server stopped past the stall limit, or gone and back) is started again
// where the pictures are, and they wait only for its first sound; a short
// stall, or music that comes back ahead, is simply followed.
TEST(PlaybackClock, MusicBackBehindAfterTheWallClockCarriedOnStartsAgainWhereThePicturesAre)
{
    for (const bool goneAway : { false, true }) {
        SCOPED_TRACE(goneAway ? "output gone and back" : "output stalled");
        FakeTime wall;
        std::optional<std::uint32_t> music = 0;
        std::vector<std::uint32_t> restarts;
        PlaybackClock clock(
            wall, [&music] { return music; }, [] { return 0u; }, 5000,
            [&](std::uint32_t time) {
                restarts.push_back(time);
                music = 0;
            });
        wall.now += 400;
        music = 400;
        EXPECT_EQ(clock.now(), 5400u);
        if (goneAway)
            music.reset();
        wall.now += PlaybackClock::stallLimit;
        EXPECT_EQ(clock.now(), goneAway ? 5900u : 5400u);
        wall.now += 2000;
        const std::uint32_t carried = goneAway ? 7900u : 7400u;
        EXPECT_EQ(clock.now(), carried);
        music = 430; // where it stood, and a little on
        wall.now += 16;
        EXPECT_EQ(clock.now(), carried + 16);
        ASSERT_EQ(restarts.size(), 1u);
        EXPECT_EQ(restarts[0], carried + 16);
        wall.now += 300; // the new stream's start: nothing heard yet
        EXPECT_EQ(clock.now(), restarts[0]);
        music = 20;
        EXPECT_EQ(clock.now(), restarts[0] + 20);
        EXPECT_EQ(restarts.size(), 1u);
    }

    // Back within a tenth of a second of the pictures is waited for; any
    // further behind is started again.
    for (const std::uint32_t behind : { 100u, 101u }) {
        PlayingFor400 playing;
        auto& [wall, music, restarts, clock] = playing;
        wall.now += 1000;
        EXPECT_EQ(clock.now(), 1400u);
        music = 1400 - behind;
        EXPECT_EQ(clock.now(), 1400u);
        EXPECT_EQ(restarts, behind > 100 ? 1 : 0) << behind << " ms behind";
    }

    // Music that only starts after the start limit (a browser that kept its
    // sound off until a click) is started again where the pictures are.
    {
        FakeTime wall;
        std::optional<std::uint32_t> late = 0;
        std::vector<std::uint32_t> restarts;
        PlaybackClock clock(
            wall, [&late] { return late; }, [] { return 0u; }, 0,
            [&](std::uint32_t time) { restarts.push_back(time); });
        EXPECT_EQ(clock.now(), 0u);
        wall.now += PlaybackClock::startLimit;
        EXPECT_EQ(clock.now(), 0u);
        wall.now += 1000;
        EXPECT_EQ(clock.now(), 1000u);
        wall.now += 16;
        late = 16;
        EXPECT_EQ(clock.now(), 1016u);
        EXPECT_EQ(restarts, std::vector<std::uint32_t> { 1016u });
    }

    PlayingFor400 playing;
    auto& [wall, music, restarts, clock] = playing;
    wall.now += PlaybackClock::stallLimit - 100; // a short stall: the pictures wait
    EXPECT_EQ(clock.now(), 400u);
    music = 420;
    EXPECT_EQ(clock.now(), 420u);
    wall.now += PlaybackClock::stallLimit + 1000; // a long one, and the music comes back ahead
    clock.now();
    music = 5000;
    EXPECT_EQ(clock.now(), 5000u);
    wall.now += 16;
    music = 4850; // once followed again, music behind is waited for
    EXPECT_EQ(clock.now(), 5000u);
    EXPECT_EQ(restarts, 0);
}
