#pragma once

#include "course/SceneTwoTimeline.h"
#include "scenes/WorldScene.h"

// The second timed scene, 20 s: the ball of cubes that grows, pulses, shrinks
// and regrows green in the turning world.
using SceneTwo = WorldScene<SceneTwoTimeline>;

template <> struct DrawingOf<SceneTwoTimeline> {
    using type = SceneTwo;
};
