#pragma once

#include "core/Resolution.h"
#include "gl/OffscreenTarget.h"

// A small square off-screen frame (colour texture and 24-bit depth) as the demo
// renders each frame, bound and cleared to black while it lives.
struct RenderTarget {
    explicit RenderTarget(int size)
        : target(Resolution { static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size) },
            OffscreenTarget::Depth::Depth24)
    {
        target.bind();
        glViewport(0, 0, size, size);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ~RenderTarget() { target.unbind(); }

    OffscreenTarget target;
};
