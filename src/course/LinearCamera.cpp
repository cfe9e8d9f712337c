#include "course/LinearCamera.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

// Every intermediate is rounded to float, so a move lands on the same eye on
// every platform; t = 1 gives exactly b.
glm::vec3 lerp(glm::vec3 a, glm::vec3 b, float t)
{
    const float s = 1.0f - t;
    return a * s + t * b;
}

} // namespace

LinearCamera::LinearCamera(const glm::vec3& startPosition, const glm::vec3& endPosition, const glm::vec3& startTarget,
    const glm::vec3& endTarget, const glm::vec3& up, unsigned int duration)
    : Camera(startPosition, startTarget, up)
    , startPosition(startPosition)
    , endPosition(endPosition)
    , startTarget(startTarget)
    , endTarget(endTarget)
    , duration(duration)
{
}

bool LinearCamera::update(unsigned int time)
{
    if (startTime == 0) {
        startTime = time;
        return true;
    }
    const std::uint32_t elapsed = time - startTime;
    // Strictly greater: the end points are reached only by a call landing
    // exactly on the duration; a later one leaves the last eye in place.
    if (elapsed > duration)
        return false;
    // A zero duration would make t = 0/0 on a repeated start time, and the
    // view NaN; such a move is already at its end.
    const float t = duration == 0 ? 1.0f : static_cast<float>(elapsed) / static_cast<float>(duration);
    position = lerp(startPosition, endPosition, t);
    direction = lerp(startTarget, endTarget, t);
    return true;
}

glm::mat4 LinearCamera::getViewMatrix()
{
    return glm::lookAt(position, direction, up);
}
