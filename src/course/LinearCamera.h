#pragma once

#include "course/Camera.h"

#include <cstdint>

// A scripted straight-line shot: the eye slides from startPosition to
// endPosition and the look-at point from startTarget to endTarget over
// duration milliseconds of scene time. Here `direction` holds the current
// look-at point itself, not an offset.
//
// The move starts at the first update; a start time of 0 means "not started",
// so an update at time 0 starts nothing that the next update will not restart.
// Nothing resets a camera: once over, it keeps its last eye and target.
class LinearCamera : public Camera {
public:
    // Looks from startPosition at startTarget until the first interpolation.
    LinearCamera(const glm::vec3& startPosition, const glm::vec3& endPosition, const glm::vec3& startTarget,
        const glm::vec3& endTarget, const glm::vec3& up, unsigned int duration);

    // Moves to scene time `time` (ms). True while the move runs or has just
    // started; false once more than duration has passed since the start, or
    // for a time before the start (the unsigned difference wraps).
    bool update(unsigned int time);

    glm::mat4 getViewMatrix() override;

    glm::vec3 startPosition;
    glm::vec3 endPosition;
    glm::vec3 startTarget;
    glm::vec3 endTarget;
    std::uint32_t startTime = 0;
    std::uint32_t duration;
};
