#pragma once

#include <glm/glm.hpp>

class Mesh;

// A mesh handed to the renderer for upload. Only `mesh` is read; the
// transform fields keep their identity values.
struct MeshInstance {
    explicit MeshInstance(Mesh* mesh)
        : mesh(mesh)
    {
    }

    Mesh* mesh; // owned by the resource manager
    glm::vec3 position{0.0f, 0.0f, 0.0f};
    glm::vec3 rotation{0.0f, 0.0f, 0.0f};
    glm::vec3 scale{1.0f, 1.0f, 1.0f};
};
