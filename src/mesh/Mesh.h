#pragma once

#include "core/Ressource.h"

#include <glm/glm.hpp>

#include <string>
#include <vector>

// One triangle mesh in main memory, one array per vertex attribute plus the
// index array; it knows nothing of GL. With N vertices, `positions` holds N
// entries and `normals`, `colours` and `texCoords` each N or none; `indices`
// refers to those N vertices, three per triangle. The renderer reads the
// fields directly.
class Mesh : public VornE::Ressource {
public:
    explicit Mesh(const std::string& name);
    ~Mesh() override = default;

    std::string name; // the path the mesh was loaded under
    std::vector<glm::vec3> normals;
    std::vector<glm::vec4> positions; // (x, y, z, 1)
    std::vector<glm::vec4> colours; // RGBA
    std::vector<glm::vec2> texCoords; // (u, v)
    std::vector<unsigned int> indices;
};
