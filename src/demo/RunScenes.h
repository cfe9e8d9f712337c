#pragma once

#include "course/RunLength.h"
#include "course/Scene.h"
#include "demo/SceneKit.h"

#include <memory>
#include <vector>

// The drawings of the run's scenes, one per timeline of RunTimelines and in
// its order, built from the kit.
std::vector<std::unique_ptr<Scene>> makeRunScenes(SceneKit& kit);
