#include "gl/StreamBuffer.h"

#include "gl/GLErrorException.h"

void StreamBuffer::fillAndBind(GLsizeiptr size, const void* data)
{
    if (name == 0) {
        GLuint made = 0;
        glGenBuffers(1, &made);
        name = GLName(
            made, [](GLuint gone) { glDeleteBuffers(1, &gone); }, "StreamBuffer");
        checkGLError("glGenBuffers (stream)");
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
