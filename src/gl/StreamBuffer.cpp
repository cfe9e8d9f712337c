#include "gl/StreamBuffer.h"

#include "core/Exception.h"
#include "gl/GLErrorException.h"

StreamBuffer::~StreamBuffer()
{
    if (name != 0)
        glDeleteBuffers(1, &name);
}

void StreamBuffer::fillAndBind(GLsizeiptr size, const void* data)
{
    if (name == 0) {
        glGenBuffers(1, &name);
        checkGLError("glGenBuffers (stream)");
        if (name == 0)
            throw VornE::Exception("StreamBuffer id is 0");
    }
    glBindBuffer(target, name);
    glBufferData(target, size, data, GL_STREAM_DRAW);
    checkGLError("glBufferData (stream)");
}

void StreamBuffer::unbind()
{
    glBindBuffer(target, 0);
    checkGLError("glBindBuffer(0)");
}
