#include "course/PassStepper.h"
#include "FakeTime.h"
#include "course/Pacing.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/Scene.h"
#include "course/SceneSequence.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t step = 16;
constexpr std::uint32_t finalPass = 12; // the scenes' 3 + 4 + 5 updates

// A scene whose picture is the run's pass it has got to; it counts into
// `unpaired` the updates that came without their pass's drawing or skip, or
// after two.
struct TimedScene : Scene {
    TimedScene(std::uint32_t start, std::uint32_t passes, unsigned int& unpairedUpdates)
        : first(start)
        , length(passes)
        , unpaired(&unpairedUpdates)
    {
    }
    void skip() override { touch(); }
    bool update(unsigned int) override
    {
        *unpaired += touches == 1 ? 0 : 1;
        touches = 0;
        return ++updates < length;
    }
    float fade() const override { return 0.0f; }
    void touch() { ++touches; }
    std::uint32_t picture() const { return first + updates; }

    std::uint32_t first, length, updates = 0, touches = 0;
    unsigned int* unpaired;
};

// The run's three scenes, made afresh as a rehearsal's replay makes them.
struct FakeRun {
    SceneSequence& fresh()
    {
        scenes = { { 0, 3, unpaired }, { 3, 4, unpaired }, { 7, 5, unpaired } };
        return sequence.emplace(std::vector<Scene*> { &scenes[0], &scenes[1], &scenes[2] });
    }
    unsigned int unpaired = 0;
    std::vector<TimedScene> scenes;
    std::optional<SceneSequence> sequence;
};

// One row: how the passes are paced, where the run begins, and where a
// rehearsal seeks to once it stands at pass `seekAt` (a run that begins
// there is the live case); the passes each draws, in order.
struct Row {
    std::string name;
    std::uint32_t cost; // ms a drawing takes; 0: every frame drawn, no pacing
    std::uint32_t start;
    std::optional<std::uint32_t> seekAt, seekTo;
    std::vector<std::uint32_t> live, rehearsed;
};

// Draws on a fake clock: the frame's picture, the off-screen frame's last
// one for the final frame. The live loop's end of a pass is the window's.
struct Screen : LoopHost {
    explicit Screen(const Row& row)
        : cost(row.cost)
        , clock(
              wall, nullptr, [] { return 0u; }, row.start * step)
    {
        if (cost > 0)
            pacing = std::make_unique<ClockPacing>(clock, wall);
        else
            pacing = std::make_unique<EveryFramePacing>(wall);
    }
    bool wants(std::uint32_t pass) override { return pacing->draws(pass); }
    bool show(std::uint32_t pass, Scene* scene) override
    {
        if (auto* timed = static_cast<TimedScene*>(scene)) {
            timed->touch();
            offScreen = timed->picture();
            wall.now += cost;
        }
        drawn.push_back(pass);
        EXPECT_EQ(offScreen, std::min(pass, finalPass - 1)) << "the picture of pass " << pass;
        return true;
    }
    bool endOfPass(std::uint32_t nextPass, bool wasDrawn) override
    {
        if (wasDrawn)
            pacing->frameShown(nextPass);
        return true;
    }

    std::uint32_t cost;
    FakeTime wall;
    PlaybackClock clock;
    std::unique_ptr<Pacing> pacing;
    std::optional<std::uint32_t> offScreen;
    std::vector<std::uint32_t> drawn;
};

class PassStepping : public testing::TestWithParam<Row> {
protected:
    LogCapture quiet; // the pacing's "FPS: " lines
};

// The live run's and a capture's way is runPasses, from the seek's pass where
// there is one, as a rehearsal's seek promises the frame of a run begun there.
// A rehearsal plays as the live loop does, seeks by replaying fresh scenes
// and holding the frame sought, and holds its last frame at the end.
TEST_P(PassStepping, TheLiveLoopAndARehearsalDrawThePassesTheyWantTheRehearsalHoldingItsLastFrame)
{
    const Row& row = GetParam();
    {
        FakeRun run;
        Screen screen(row);
        const LoopResult result = runPasses(run.fresh(), screen, step, row.seekTo.value_or(row.start));
        EXPECT_EQ(result.end, LoopResult::End::Finished);
        EXPECT_EQ(result.passes, finalPass + 1);
        EXPECT_EQ(screen.drawn, row.live);
        EXPECT_EQ(run.unpaired, 0u) << "each update after its pass's drawing or skip";
    }
    FakeRun run;
    Screen screen(row);
    PassStepper loop([&run]() -> SceneSequence& { return run.fresh(); }, step);
    loop.moveOnTo(row.start);
    bool sought = false;
    for (int calls = 0; !loop.ended() && calls < 100; ++calls) {
        if (row.seekAt == loop.pass() && !sought) {
            sought = true;
            loop.replayTo(*row.seekTo);
            loop.hold(screen);
            screen.clock.seek(screen.drawn.back() * step);
            continue;
        }
        if (loop.play(screen) == PassStepper::Played::Drawn && !loop.ended())
            screen.pacing->frameShown(loop.pass());
    }
    EXPECT_TRUE(loop.ended() && loop.held());
    EXPECT_EQ(loop.pass(), finalPass);
    EXPECT_EQ(screen.drawn, row.rehearsed);
    EXPECT_EQ(run.unpaired, 0u) << "each update after its pass's drawing or skip";
}

INSTANTIATE_TEST_SUITE_P(Rows, PassStepping,
    testing::Values(Row { "PacedTheFinalFrameLate", 40, 0, {}, {}, { 0, 3, 6, 9, 11 }, { 0, 3, 6, 9, 11, 12 } },
        Row {
            "PacedThePassBeforeTheFinalSkipped", 30, 0, {}, {}, { 0, 2, 4, 6, 8, 10 }, { 0, 2, 4, 6, 8, 10, 11, 12 } },
        Row { "StartAtTheLastScenesLastPass", 0, 11, {}, {}, { 11, 12 }, { 11, 12 } },
        Row { "StartAtTheFinalPass", 0, 12, {}, {}, {}, { 11, 12 } },
        Row { "SeekBack", 0, 0, 8, 3, { 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 },
            { 0, 1, 2, 3, 4, 5, 6, 7, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } },
        Row { "SeekPastTheEnd", 0, 0, 2, 40, {}, { 0, 1, 11, 12 } }),
    [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
