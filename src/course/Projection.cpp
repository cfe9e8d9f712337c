#include "course/Projection.h"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 sceneProjection(const Resolution& frame)
{
    const float aspect = static_cast<float>(frame.width) / static_cast<float>(frame.height);
    return glm::perspective(glm::radians(45.0f), aspect, 0.1f, 100.0f);
}
