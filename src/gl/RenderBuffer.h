#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"

// Owns one GL renderbuffer, typically a framebuffer's depth attachment.
class RenderBuffer {
public:
    // Throws VornE::Exception("RenderBuffer id is 0") when the GL gives no name.
    RenderBuffer();
    ~RenderBuffer();
    RenderBuffer(RenderBuffer&&) noexcept = default;
    RenderBuffer& operator=(RenderBuffer&&) noexcept = default;

    // Allocates the storage; leaves no renderbuffer bound to `target`.
    void storage(GLenum target, GLenum internalFormat, GLsizei width, GLsizei height);
    // The same with `samples` samples a pixel, which the GL may round up
    // (GL_EXT_framebuffer_multisample).
    void storageMultisample(GLenum target, GLsizei samples, GLenum internalFormat, GLsizei width, GLsizei height);

    GLName id;

private:
    static GLName generate();
};
