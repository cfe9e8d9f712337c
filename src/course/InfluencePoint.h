#pragma once

#include <glm/glm.hpp>

// A coloured sphere of influence in cube-world coordinates: the cube world
// raises a cube for every grid cell strictly inside `radius` of `position`,
// in `colour`. A radius of 0 or less reaches nothing. Scenes own their points
// and move or grow them over time.
class InfluencePoint {
public:
    InfluencePoint(const glm::vec3& position, const glm::vec4& colour, float radius)
        : position(position)
        , colour(colour)
        , radius(radius)
    {
    }
    virtual ~InfluencePoint() = default;

    // Advances the point by step ms of scene time.
    virtual void update(unsigned int step) = 0;

    glm::vec3 position;
    glm::vec4 colour;
    float radius;
};

// Stays where it is put; its owner writes radius and colour directly.
class StaticInfluencePoint : public InfluencePoint {
public:
    using InfluencePoint::InfluencePoint;
    void update(unsigned int) override { }
};
