#pragma once

#include "gl/GL.h"

// Owns one GL renderbuffer, typically a framebuffer's depth attachment.
class RenderBuffer {
public:
    // Throws VornE::Exception("RenderBuffer id is 0") when the GL gives no name.
    RenderBuffer();
    ~RenderBuffer();
    RenderBuffer(const RenderBuffer&) = delete;
    RenderBuffer& operator=(const RenderBuffer&) = delete;

    // Allocates the storage; leaves no renderbuffer bound to `target`.
    void storage(GLenum target, GLenum internalFormat, GLsizei width, GLsizei height);

    const GLuint id;

private:
    static GLuint generate();
};
