#pragma once

#include <glm/glm.hpp>

// One small cube of the cube world as the batched pass takes it: the unit
// mesh scaled by `size` from `corner`, in the grid's own coordinates.
struct WorldCube {
    glm::vec3 corner;
    float size;
    glm::vec4 colour;
    float distance; // from its cell to its point, the shader's "objDistance"
};
