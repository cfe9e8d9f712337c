#pragma once

#include "course/InfluencePoint.h"

#include <cstdint>

// Travels in a straight line from start to end over duration ms of updates,
// then stays at end. Each update places the point for the time before its own
// step, so the first update leaves it at start.
class LinearInfluencePoint : public InfluencePoint {
public:
    LinearInfluencePoint(
        const glm::vec3& start, const glm::vec3& end, unsigned int duration, const glm::vec4& colour, float radius);

    void update(unsigned int step) override;

    glm::vec3 start;
    glm::vec3 end;
    std::uint32_t duration;
    std::uint32_t elapsed = 0;
};
