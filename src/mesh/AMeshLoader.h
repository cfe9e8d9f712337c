#pragma once

#include "core/RessourceLoader.h"

#include <string>

// Imports a model file with Assimp and builds an AMesh from its first mesh.
// Touches no GL, so meshes can be loaded before any window exists.
class AMeshLoader : public VornE::RessourceLoader {
public:
    AMeshLoader() = default;
    ~AMeshLoader() override = default;

    // A new AMesh owned by the caller, or null after an Error line naming the
    // path: file missing (Assimp is not called), not importable (with
    // Assimp's reason), or holding no mesh with vertices. A success logs one
    // Info line.
    VornE::Ressource* load(const std::string& name) override;
};
