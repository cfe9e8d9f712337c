#include "demo/Rehearsal.h"

#include "core/Logger.h"
#include "course/Pacing.h"
#include "course/PlaybackClock.h"
#include "course/RunLength.h"
#include "course/StopSignals.h"
#include "demo/FramePainter.h"
#include "demo/InputList.h"
#include "demo/Music.h"
#include "demo/SDL_Keyboard.h"
#include "demo/ShaderWatch.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <utility>

namespace {

constexpr unsigned int step = frameMilliseconds;
constexpr std::uint32_t idleWait = 10; // ms between looks at the keys while paused
// The shader files are looked at a few times a second, not at every pass:
// sixteen file times a pass would be work for nothing while nobody edits.
constexpr std::uint32_t shaderLookPeriod = 200;

} // namespace

Rehearsal::Rehearsal(const RehearsalStage& parts, SceneMaker maker)
    : stage(parts)
    , makeScenes(std::move(maker))
    // Counted on fresh timelines; each replay seeds the sequence again.
    , finalPass(static_cast<std::int64_t>(runFrameCount()) - 1)
{
}

void Rehearsal::run(std::uint32_t first)
{
    // Held keys repeat, as a maker holds Left to go back a stretch.
    SDL_EnableKeyRepeat(SDL_DEFAULT_REPEAT_DELAY, SDL_DEFAULT_REPEAT_INTERVAL);
    loop.emplace([this]() -> SceneSequence& { return freshScenes(); }, step);
    loop->moveOnTo(first);
    shown = loop->pass();
    shownScene = std::min(scenes->currentIndex(), runSceneCount - 1);
    report();
    for (;;) {
        stage.inputs.updateAll();
        if (stage.inputs.anyQuit() || StopSignals::received() != 0)
            return;
        actOn(stage.keyboard.pressed());
        // A paused picture is not drawn again by itself: one that was covered
        // (an editor over it, without a compositor) must be.
        bool rebuilt = false;
        if (stage.wall.ticks() - shadersLookedAt >= shaderLookPeriod) {
            shadersLookedAt = stage.wall.ticks();
            rebuilt = stage.shaders.rebuildChanged();
        }
        if ((rebuilt || stage.keyboard.exposed()) && paused)
            hold(shown);
        if (stage.music != nullptr)
            stage.music->update();
        if (paused)
            stage.wall.delay(idleWait);
        else
            playPass();
    }
}

// Every press counts, in order; a run of seeks among them replays and draws
// once, where the last of them leads. Replaying and drawing for each press of
// a burst would keep the loop from SDL's queue, which drops what comes past
// its 128 events.
void Rehearsal::actOn(const std::vector<int>& keys)
{
    // A flag and a value rather than an optional: GCC 12 warns, wrongly,
    // that an optional's value may be read uninitialised here.
    bool seeking = false;
    std::int64_t sought = 0;
    for (const int key : keys) {
        if (const std::optional<std::int64_t> to = seekFor(key, seeking ? sought : shown)) {
            // As each would have stopped at the start or the end.
            sought = std::clamp<std::int64_t>(*to, 0, finalPass);
            seeking = true;
            continue;
        }
        if (seeking)
            seek(sought);
        seeking = false;
        if (key == SDLK_SPACE)
            setPaused(!paused);
    }
    if (seeking)
        seek(sought);
}

std::optional<std::int64_t> Rehearsal::seekFor(int key, std::int64_t from) const
{
    switch (key) {
    case SDLK_LEFT:
        return from - shortSeek;
    case SDLK_RIGHT:
        return from + shortSeek;
    case SDLK_PAGEUP:
        return from - longSeek;
    case SDLK_PAGEDOWN:
        return from + longSeek;
    case SDLK_HOME:
        return 0;
    case SDLK_PERIOD:
        if (paused)
            return from + 1;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void Rehearsal::playPass()
{
    if (loop->play(*this) == PassStepper::Played::Drawn) {
        stage.painter.show();
        if (!loop->ended())
            stage.pacing.frameShown(loop->pass());
    }
    // The end: its last frame stands until Escape.
    if (loop->ended())
        setPaused(true);
}

SceneSequence& Rehearsal::freshScenes()
{
    drawings = makeScenes();
    std::vector<Scene*> inOrder;
    for (const std::unique_ptr<DrawnScene>& scene : drawings)
        inOrder.push_back(scene.get());
    return scenes.emplace(inOrder);
}

double Rehearsal::hold(std::uint32_t pass)
{
    const auto began = std::chrono::steady_clock::now();
    loop->replayTo(pass);
    const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
    loop->hold(*this);
    stage.painter.show();
    return took;
}

// As the live loop plays: a pass that would be late on screen only moves the
// scenes on.
bool Rehearsal::wants(std::uint32_t pass)
{
    return stage.pacing.draws(pass);
}

bool Rehearsal::show(std::uint32_t pass, Scene* scene)
{
    if (scene != nullptr)
        shownScene = scenes->currentIndex();
    // The run plays drawn scenes only (makeRunScenes); the window shows the
    // frame once the stepping is done with it.
    stage.painter.paint(static_cast<DrawnScene*>(scene));
    shown = pass;
    return true;
}

void Rehearsal::seek(std::int64_t pass)
{
    const std::uint32_t from = shown;
    if (pass == static_cast<std::int64_t>(from) && loop->held())
        return; // held there already (a burst that came back where it began)
    const double took = hold(static_cast<std::uint32_t>(std::clamp<std::int64_t>(pass, 0, UINT32_MAX)));
    const std::uint32_t time = shown * frameMilliseconds;
    stage.clock.seek(time);
    if (stage.music != nullptr) {
        // Stopped first: a paused stream would only resume where it stood.
        stage.music->stop();
        stage.music->playFrom(time);
        if (paused)
            stage.music->pause();
    }
    char replayed[48];
    std::snprintf(replayed, sizeof replayed, " (replayed in %.1f ms)", took);
    report(replayed);
}

void Rehearsal::setPaused(bool pause)
{
    if (pause == paused || (!pause && shown >= finalPass))
        return;
    paused = pause;
    if (pause) {
        stage.clock.pause();
        if (stage.music != nullptr)
            stage.music->pause();
    } else {
        stage.clock.resume();
        if (stage.music != nullptr)
            stage.music->resume();
    }
    report();
}

void Rehearsal::report(const std::string& after)
{
    const std::uint32_t time = shown * frameMilliseconds;
    const std::size_t scene = shownScene + 1;
    char line[128];
    std::snprintf(line, sizeof line, "Rehearsal: %u.%03u s, scene %zu, pass %u, %s", time / 1000, time % 1000, scene,
        shown, paused ? "paused" : "playing");
    VornE::log(VornE::Info, line, after, "\n");
    std::cout.flush(); // at once through a pipe too, as the maker acts
}
