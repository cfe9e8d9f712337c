#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture.h"

// Owns one GL framebuffer. Attachments are borrowed, not kept: their owner
// keeps them alive as long as the framebuffer is drawn into.
class FrameBuffer {
public:
    // Throws VornE::Exception("FrameBuffer id is 0") when the GL gives no name.
    FrameBuffer();
    ~FrameBuffer();
    FrameBuffer(FrameBuffer&&) noexcept = default;
    FrameBuffer& operator=(FrameBuffer&&) noexcept = default;

    // For drawing into it; the caller pairs it with unbind(), which binds the
    // window's framebuffer (WindowFramebuffer.h) back, 0 on most systems.
    void bind(GLenum target);
    void unbind(GLenum target);

    // Both leave the window's framebuffer bound to `target` when they succeed.
    void attachTexture2D(GLenum target, GLenum attachment, Texture& texture);
    void attachRenderBuffer(GLenum target, GLenum attachment, RenderBuffer& renderBuffer);

    // True, leaving the window's framebuffer bound, when the framebuffer is complete. Otherwise
    // logs at Error and returns false with the framebuffer still bound.
    bool validate(GLenum target);

    GLName id;

private:
    static GLName generate();
};
