#pragma once

#include "course/InfluencePoint.h"
#include "course/LinearCamera.h"
#include "course/Pulsor.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

// Everything of scene two that is not drawing: one point at (25, 25, 25)
// whose ball of cubes grows (0.05 a step) to a radius of 7, holds, and
// shrinks (0.08 a step) from 8 s after its last reset; at 10 s it is reset
// and grows again in green. While the ball is grown a pulse runs outward
// (0.8 a step) and restarts every 2016 ms; from the first restart on, the
// world turns 2 degrees a step about (0, 1, 1). The fade rises over the first
// second and falls over the last.
class SceneTwoTimeline {
public:
    static constexpr std::uint32_t endTime = 20000;
    static constexpr float grownRadius = 7.0f;

    SceneTwoTimeline();

    // Advances the scene by step ms. The cube world must have taken the points
    // just before: it sees them as the previous update left them. Returns
    // false once elapsed has passed endTime.
    bool update(unsigned int step);

    // The fixed camera's view at the current elapsed.
    glm::mat4 view();
    // The world's turn about spinAxis, in degrees.
    glm::mat4 world() const;

    InfluencePoint& ball() { return *points[0]; }

    std::uint32_t elapsed = 0;
    float fade = 0.0f;
    LinearCamera camera;
    std::vector<std::unique_ptr<InfluencePoint>> points;
    float pulseDistance = -1.0f;
    Pulsor resetPulse { 10000 };
    Pulsor wavePulse { 2000 };
    std::vector<glm::vec4> palette { glm::vec4(0.0f, 0.69f, 0.2f, 1.0f) };
    std::uint32_t paletteIndex = 0;
    bool spinning = false;
    float spinAngle = 0.0f;
    glm::vec3 spinAxis { 0.0f, 1.0f, 1.0f };
    bool grown = false; // true while the ball is held at full size
    std::uint32_t lastReset = 0;
};
