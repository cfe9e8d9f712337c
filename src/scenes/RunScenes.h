#pragma once

#include "course/RunLength.h"
#include "scenes/DrawnScene.h"
#include "scenes/SceneKit.h"

#include <memory>
#include <vector>

// The drawings of the run's scenes, one per timeline of RunTimelines and in
// its order, built from the kit.
std::vector<std::unique_ptr<DrawnScene>> makeRunScenes(SceneKit& kit);
