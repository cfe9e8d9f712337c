#pragma once

#include <cstdint>

// Draw calls issued by the renderer's passes since the last reset, one count
// per kind of pass. Plain counters: counting never allocates.
struct DrawCounts {
    std::uint32_t texturedQuad = 0;
    std::uint32_t texturedMesh = 0;
    std::uint32_t colouredMesh = 0;
    std::uint32_t worldCube = 0;

    std::uint32_t total() const { return texturedQuad + texturedMesh + colouredMesh + worldCube; }
};
