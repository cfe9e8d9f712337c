#include "course/LinearInfluencePoint.h"

LinearInfluencePoint::LinearInfluencePoint(
    const glm::vec3& start, const glm::vec3& end, unsigned int duration, const glm::vec4& colour, float radius)
    : InfluencePoint(start, colour, radius)
    , start(start)
    , end(end)
    , duration(duration)
{
}

void LinearInfluencePoint::update(unsigned int step)
{
    // A zero duration would divide 0 by 0 and place the point at NaN: such a
    // move stands at its end.
    float t = 1.0f;
    if (elapsed <= duration && duration != 0)
        t = static_cast<float>(elapsed) / static_cast<float>(duration);
    position = start * (1.0f - t) + t * end;
    elapsed += step;
}
