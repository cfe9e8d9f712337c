#include "demo/WindowHost.h"

#include "course/Pacing.h"
#include "course/PlaybackClock.h"
#include "course/StopSignals.h"
#include "demo/FramePainter.h"
#include "demo/InputList.h"
#include "demo/Music.h"
#include "engine/Window.h"
#include "scenes/DrawnScene.h"

WindowHost::WindowHost(FramePainter& painter, Pacing& pacing, PlaybackClock* clock, InputList& inputs, Music* music)
    : painter(painter)
    , pacing(pacing)
    , clock(clock)
    , inputs(inputs)
    , music(music)
{
}

bool WindowHost::wants(std::uint32_t pass)
{
    return pacing.draws(pass);
}

bool WindowHost::show(std::uint32_t, Scene* scene)
{
    if (clock != nullptr && probes.logging())
        drawingBegan = clock->now();
    // The run plays drawn scenes only (makeRunScenes).
    painter.paint(static_cast<DrawnScene*>(scene));
    painter.show();
    return true;
}

bool WindowHost::endOfPass(std::uint32_t nextPass, bool drawn)
{
    inputs.updateAll();
    if (music != nullptr)
        music->update();
    if (drawn) {
        probes.frameShown(
            nextPass - 1, drawingBegan, [this] { return clock != nullptr ? clock->now() : 0u; }, music);
        pacing.frameShown(nextPass);
    }
    // Ctrl-C and SIGTERM leave like Escape, after the pass.
    return !inputs.anyQuit() && StopSignals::received() == 0 && !(drawn && firstFrameOnly);
}
