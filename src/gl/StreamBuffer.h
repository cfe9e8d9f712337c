#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"

// One buffer object, of vertices or of indices, refilled for every frame that
// draws from it (GL_STREAM_DRAW). Its name is made on the first fill, not at
// construction, so that a buffer only some frames need takes no name at
// start-up.
class StreamBuffer {
public:
    // GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
    explicit StreamBuffer(GLenum target)
        : target(target)
    {
    }
    // Moved, not assigned: its target is fixed.
    StreamBuffer(StreamBuffer&&) noexcept = default;

    // Replaces the contents with `size` bytes (GL copies them) and leaves the
    // buffer bound to its target for the draw; pair with unbind().
    void fillAndBind(GLsizeiptr size, const void* data);
    void unbind();

    GLuint id() const { return name; }
    const GLenum target;

private:
    GLName name; // none until the first fill
};
