#pragma once

#include <glm/glm.hpp>

// One cube of scene one's cross. The position is in cube units: it is scaled
// together with the cube, so a cube of scale 2 sits at twice its position.
struct ColouredCube {
    glm::vec3 position;
    glm::vec3 rotation; // degrees about X, Y, Z
    glm::vec3 scale;
    glm::vec4 colour; // RGBA in 0..1
};
