#pragma once

namespace VornE {

// The common base of everything the resource manager holds (textures,
// meshes), so it can delete any of them through a base pointer.
class Ressource {
public:
    virtual ~Ressource() = default;
};

} // namespace VornE
