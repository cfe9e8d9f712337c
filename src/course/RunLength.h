#pragma once

#include "course/SceneOneTimeline.h"
#include "course/SceneThreeTimeline.h"
#include "course/SceneTwoTimeline.h"

#include <array>
#include <cstdint>
#include <tuple>

// The run's scenes in their order, each by its course: the timeline whose
// update says when the scene is over. This is the one list of them. The
// demo draws each with the drawing its header names for that timeline
// (DrawingOf, scenes/RunScenes.h); the run's length, its last frame and its
// pass count, the command lines' bounds, the capture's frames and the
// soundtrack's cue points are all computed from it.
using RunTimelines = std::tuple<SceneOneTimeline, SceneTwoTimeline, SceneThreeTimeline>;
constexpr std::size_t runSceneCount = std::tuple_size_v<RunTimelines>;

constexpr std::uint32_t frameMilliseconds = 16; // scene time per frame, whatever the real time

// Each scene's frames: its updates until it says it is over. Plays fresh
// timelines, which draw from the run's random sequence: call it before the
// run seeds it.
std::array<std::uint32_t, runSceneCount> sceneFrameCounts();

// The frames a whole run shows: each scene's, then one last that shows the
// last picture again. The same call order as sceneFrameCounts.
std::uint32_t runFrameCount();

// The run time of the last frame, in ms.
inline std::uint32_t lastFrameTime(std::uint32_t frameCount)
{
    return (frameCount - 1) * frameMilliseconds;
}
