#pragma once

#include "gl/StaticBuffer.h"

#include <cstddef>
#include <memory>

// The GPU copy of one mesh: an interleaved vertex buffer of position
// (3 floats), then normal (3) when present, then texture coordinate (2) when
// present, and its 32-bit index buffer.
struct MeshBuffers {
    std::unique_ptr<StaticBuffer> buffer;
    bool hasNormals = false;
    bool hasTexCoords = false;
    GLsizei indexCount = 0;

    GLsizei stride() const { return 12 + (hasNormals ? 12 : 0) + (hasTexCoords ? 8 : 0); }
    std::size_t texCoordOffset() const { return hasNormals ? 24 : 12; }
};
