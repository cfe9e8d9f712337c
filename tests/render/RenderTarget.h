#pragma once

#include "core/Resolution.h"
#include "gl/FrameBuffer.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"

// A small off-screen frame (colour texture and 24-bit depth), bound while it
// lives, as the demo renders each frame.
struct RenderTarget {
    explicit RenderTarget(int size)
        : RenderTarget(size, size)
    {
    }
    RenderTarget(int width, int height)
        : colour(Resolution{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
    {
        depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        frame.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
        frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
        frame.bind(GL_FRAMEBUFFER);
        glViewport(0, 0, width, height);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ~RenderTarget() { frame.unbind(GL_FRAMEBUFFER); }

    // Declared before the framebuffer so they outlive it.
    Texture2D colour;
    RenderBuffer depth;
    FrameBuffer frame;
};
