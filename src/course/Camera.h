#pragma once

#include <glm/glm.hpp>

// An eye looking along a direction. Kinds of camera differ only in how they read
// their fields into a view matrix, so that is the one operation they override.
class Camera {
public:
    Camera() = default;
    Camera(const glm::vec3& position, const glm::vec3& direction, const glm::vec3& up);
    virtual ~Camera() = default;

    virtual glm::vec3& getPosition();
    virtual glm::vec3& getDirection();
    virtual glm::vec3& getUp();

    // Looks from position at position + direction.
    virtual glm::mat4 getViewMatrix();

    glm::vec3 position { 0.0f };
    glm::vec3 direction { 0.0f, 0.0f, -1.0f };
    glm::vec3 up { 0.0f, 1.0f, 0.0f };
};
