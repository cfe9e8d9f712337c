#pragma once

#include "course/SceneThreeTimeline.h"
#include "scenes/WorldScene.h"

// The third and last timed scene, 25 s: three red balls travel to meet near
// the middle of the turning world under the gliding camera.
using SceneThree = WorldScene<SceneThreeTimeline>;

template <> struct DrawingOf<SceneThreeTimeline> {
    using type = SceneThree;
};
