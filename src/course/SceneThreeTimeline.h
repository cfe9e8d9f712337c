#pragma once

#include "course/InfluencePoint.h"
#include "course/LinearCamera.h"
#include "course/Pulsor.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

// Everything of scene three that is not drawing: three red balls travel from
// the world's edges to meet near its middle over 10 s while the world turns a
// degree a step about the vertical and the camera glides from (20, -10, -5)
// to (0, 0, -20) over 20 s. From 10 s a pulse runs outward (0.7 a step) and
// restarts every 2016 ms. The fade rises over the first second and falls over
// the last three.
class SceneThreeTimeline {
public:
    static constexpr std::uint32_t endTime = 25000;

    SceneThreeTimeline();

    // Advances the scene by step ms. The cube world must have taken the points
    // just before: it sees them where the previous update left them. Returns
    // false from endTime on.
    bool update(unsigned int step);

    // The gliding camera's view at the current elapsed.
    glm::mat4 view();
    // The world's turn about the vertical, in degrees.
    glm::mat4 world() const;

    std::uint32_t elapsed = 0;
    float fade = 0.0f;
    LinearCamera camera;
    std::vector<std::unique_ptr<InfluencePoint>> points;
    Pulsor wavePulse { 2000 };
    float pulseDistance = -1.0f;
    float spinAngle = 0.0f;
};
