#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"

// The vertex buffer and index buffer of one indexed mesh, each filled once
// with GL_STATIC_DRAW. Knows nothing of the vertex layout: whoever fills it and
// the pass that draws it agree on that.
class StaticBuffer {
public:
    // Prints "StaticBuffer (vId: <v> ; iId: <i>)" on standard output.
    StaticBuffer();
    // A GL error seen here is logged at Error, not thrown.
    ~StaticBuffer();
    StaticBuffer(StaticBuffer&&) noexcept = default;
    StaticBuffer& operator=(StaticBuffer&&) noexcept = default;

    // Sizes in bytes. GL copies the data; both leave their target unbound,
    // whatever was bound there before.
    void setVertexData(GLsizeiptr size, const void* data);
    void setIndexData(GLsizeiptr size, const void* data);

    // Binds both buffers for a draw; the caller pairs it with unbind().
    void bind();
    static void unbind();

    GLName vId;
    GLName iId;

private:
    static GLName generate();
};
