#include "course/Pacing.h"
#include "FakeTime.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/Scene.h"
#include "course/SceneSequence.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

// A scene of `length` passes.
struct CountedScene : Scene {
    void skip() override { }
    bool update(unsigned int) override { return ++updates < length; }
    float fade() const override { return 0.0f; }
    std::size_t length = 0, updates = 0;
};

// The live loop on a fake wall clock, paced by the playback clock: drawing a
// frame costs `cost` ms.
struct PacedRun : LoopHost {
    bool wants(std::uint32_t pass) override { return pacing.draws(pass); }
    bool show(std::uint32_t, Scene* scene) override
    {
        wall.now += scene != nullptr ? cost : 0;
        return true;
    }
    bool endOfPass(std::uint32_t nextPass, bool drawn) override
    {
        if (drawn) {
            onScreen.push_back({ nextPass - 1, clock.now() });
            pacing.frameShown(nextPass);
        }
        return true;
    }
    std::uint32_t cost = 0;
    FakeTime wall;
    PlaybackClock clock { wall, nullptr, [] { return 0u; } };
    ClockPacing pacing { clock, wall };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> onScreen; // pass, and the clock when it reached the screen
};

} // namespace

// Frames that take 40 ms are skipped, each one drawn reaching the screen
// within a step of its time; frames that take 5 ms are all drawn, each held
// to its time.
TEST(ClockPacing, SlowFramesAreSkippedAndFastOnesHeldToTheirTime)
{
    LogCapture quiet;
    for (const std::uint32_t cost : { 40u, 5u }) {
        SCOPED_TRACE(std::to_string(cost) + " ms a frame");
        PacedRun run;
        run.cost = cost;
        CountedScene scene;
        scene.length = 300;
        SceneSequence sequence({ &scene });
        const LoopResult result = runPasses(sequence, run, 16);

        EXPECT_EQ(result.passes, 301u);
        if (cost > 16) {
            EXPECT_LT(result.drawn * 2, result.passes) << "a 40 ms frame leaves out more than every other pass";
        } else {
            EXPECT_EQ(result.drawn, result.passes);
        }
        // Once the time a frame takes is learnt, each is on screen within a
        // step of its own time (half a step when drawing keeps up).
        for (std::size_t k = cost > 16 ? 8 : 0; k < run.onScreen.size(); ++k) {
            const auto [pass, clock] = run.onScreen[k];
            EXPECT_LE(std::labs(static_cast<long>(clock) - static_cast<long>(pass) * 16), cost > 16 ? 16L : 8L) << pass;
        }
        EXPECT_LE(run.clock.now(), 301u * 16u + 40u) << "no frame waits longer than its time";
    }
}

namespace {

// A clock whose music has played `played` ms, and the process not stopped
// yet; a restart of the music is counted, and its position starts again
// from 0.
struct Playing {
    explicit Playing(std::uint32_t played)
    {
        wall.now += played;
        music = played;
        clock.now();
    }
    FakeTime wall;
    std::optional<std::uint32_t> music = 0;
    unsigned int continues = 0;
    std::vector<std::uint32_t> restarts;
    PlaybackClock clock { wall, [this] { return music; }, [this] { return continues; }, 0,
        [this](std::uint32_t time) {
            restarts.push_back(time);
            music = 0;
        } };
};

} // namespace

// The clock follows the music's own pace (and says it did), falls back on
// the wall clock when the music stalls, and leaves a stop out.
TEST(PlaybackClock, FollowsTheMusicCarriesOnWhenItStallsAndLeavesAStopOut)
{
    Playing playing(0);
    auto& [wall, music, continues, restarts, clock] = playing;
    wall.now += 40;
    music = 43; // a device a little faster than the wall clock
    EXPECT_EQ(clock.now(), 43u);
    EXPECT_TRUE(clock.followedMusic()) << "the run's closing line says what it kept in step with";
    // The music stands still: the pictures hold with it, then after the
    // stall limit the wall clock carries them on from where they stand.
    // Its first 43 ms were sound enough to be given only the stall limit.
    wall.now += PlaybackClock::stallLimit;
    EXPECT_EQ(clock.now(), 43u);
    wall.now += 50;
    EXPECT_EQ(clock.now(), 93u);
    // Without music, wall time; the time stopped is left out.
    music.reset();
    wall.now += 60000;
    ++continues;
    EXPECT_EQ(clock.now(), 93u);
    wall.now += 16;
    EXPECT_EQ(clock.now(), 109u);

    // LUMAROLL_AUDIO=none: no music at all.
    FakeTime silentWall;
    PlaybackClock silent(
        silentWall, [] { return std::optional<std::uint32_t>(); }, [] { return 0u; });
    silentWall.now += 16;
    EXPECT_EQ(silent.now(), 16u);
    EXPECT_FALSE(silent.followedMusic());
}

// A rehearsal's pause holds the time however long the wall clock and a
// stalled music run on, and a resume goes on from there without counting
// the pause; a seek sets the time back or on, paused or not, and the music
// counts from there once it is heard again.
TEST(PlaybackClock, APauseHoldsTheTimeAndASeekSetsItBackOrOn)
{
    Playing playing(400);
    auto& [wall, music, continues, restarts, clock] = playing;
    // The music's position counts since its start; the wall clock moves with it.
    const auto play = [&playing](std::uint32_t ms) {
        playing.wall.now += ms;
        playing.music = *playing.music + ms;
    };
    clock.pause();
    wall.now += PlaybackClock::stallLimit + 5000;
    EXPECT_EQ(clock.now(), 400u);
    clock.resume();
    EXPECT_EQ(clock.now(), 400u) << "the music not moved yet is no stall";
    play(16);
    EXPECT_EQ(clock.now(), 416u);

    clock.seek(100); // back, past what the clock has shown
    music = 0;
    EXPECT_EQ(clock.now(), 100u);
    wall.now += 1000; // the stream starts again: its first sound is waited for as at the start
    EXPECT_EQ(clock.now(), 100u);
    play(40);
    EXPECT_EQ(clock.now(), 140u);

    clock.pause();
    clock.seek(60000); // on, paused: it holds there
    music = 0;
    wall.now += 3000;
    EXPECT_EQ(clock.now(), 60000u);
    clock.resume();
    play(16);
    EXPECT_EQ(clock.now(), 60016u);
}

// Music that comes back behind pictures the wall clock carried on (a sound
// server stopped past the stall limit, or gone and back) is started again
// where the pictures are, and they wait only for its first sound; a short
// stall, or music that comes back ahead, is simply followed.
TEST(PlaybackClock, MusicBackBehindAfterTheWallClockCarriedOnStartsAgainWhereThePicturesAre)
{
    for (const bool goneAway : { false, true }) {
        SCOPED_TRACE(goneAway ? "output gone and back" : "output stalled");
        Playing playing(400);
        auto& [wall, music, continues, restarts, clock] = playing;
        if (goneAway)
            music.reset();
        wall.now += PlaybackClock::stallLimit;
        EXPECT_EQ(clock.now(), goneAway ? 900u : 400u);
        wall.now += 2000;
        const std::uint32_t carried = goneAway ? 2900u : 2400u;
        EXPECT_EQ(clock.now(), carried);
        music = 430; // where it stood, and a little on
        wall.now += 16;
        EXPECT_EQ(clock.now(), carried + 16);
        EXPECT_EQ(restarts, std::vector<std::uint32_t> { carried + 16 });
        wall.now += 300; // the new stream's start: nothing heard yet
        EXPECT_EQ(clock.now(), carried + 16);
        music = 20;
        EXPECT_EQ(clock.now(), carried + 36);
        EXPECT_EQ(restarts.size(), 1u);
    }

    // Back within a tenth of a second of the pictures is waited for; any
    // further behind is started again.
    for (const std::uint32_t behind : { 100u, 101u }) {
        Playing playing(400);
        auto& [wall, music, continues, restarts, clock] = playing;
        wall.now += 1000;
        EXPECT_EQ(clock.now(), 1400u);
        music = 1400 - behind;
        EXPECT_EQ(clock.now(), 1400u);
        EXPECT_EQ(restarts.size(), behind > 100 ? 1u : 0u) << behind << " ms behind";
    }

    // Music that only starts after the start limit (a browser that kept its
    // sound off until a click) is started again where the pictures are.
    {
        Playing playing(0);
        auto& [wall, music, continues, restarts, clock] = playing;
        wall.now += PlaybackClock::startLimit;
        EXPECT_EQ(clock.now(), 0u);
        wall.now += 1000;
        EXPECT_EQ(clock.now(), 1000u);
        wall.now += 16;
        music = 16;
        EXPECT_EQ(clock.now(), 1016u);
        EXPECT_EQ(restarts, std::vector<std::uint32_t> { 1016u });
    }

    Playing playing(400);
    auto& [wall, music, continues, restarts, clock] = playing;
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
    EXPECT_TRUE(restarts.empty());
}
