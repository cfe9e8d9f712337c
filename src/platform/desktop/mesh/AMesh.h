#pragma once

#include "mesh/Mesh.h"

#include <string>

struct aiScene;

// The Mesh copied from the first mesh of an imported Assimp scene: other
// meshes, the node hierarchy, materials, tangents and bones are ignored, and
// the values are copied as they are (no scaling, centring or axis change).
// The scene may be released as soon as the constructor returns.
class AMesh : public Mesh {
public:
    // A scene without a mesh gives empty arrays; the loader refuses such
    // scenes before building an AMesh.
    AMesh(const std::string& name, const aiScene* scene);
    ~AMesh() override = default;
};
