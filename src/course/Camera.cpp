#include "course/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

Camera::Camera(const glm::vec3& position, const glm::vec3& direction, const glm::vec3& up)
    : position(position)
    , direction(direction)
    , up(up)
{
}

glm::vec3& Camera::getPosition()
{
    return position;
}

glm::vec3& Camera::getDirection()
{
    return direction;
}

glm::vec3& Camera::getUp()
{
    return up;
}

glm::mat4 Camera::getViewMatrix()
{
    return glm::lookAt(position, position + direction, up);
}
