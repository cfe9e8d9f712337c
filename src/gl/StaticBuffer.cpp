#include "gl/StaticBuffer.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"

#include <iostream>

StaticBuffer::StaticBuffer()
    : vId(generate())
    , iId(generate())
{
    // A throw here deletes both names with the half-built buffer's members.
    checkGLError("glGenBuffers");
    std::cout << "StaticBuffer (vId: " << vId << " ; iId: " << iId << ")" << std::endl;
}

StaticBuffer::~StaticBuffer()
{
    if (vId == 0 && iId == 0)
        return; // moved away
    vId.reset();
    iId.reset();
    // Throwing from here would end the process through std::terminate, so the
    // check reports the error at Error instead.
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return;
    try {
        VornE::log(VornE::Error, GLErrorException(error, "glDeleteBuffersARB").what());
    } catch (...) {
        // Building the message may allocate; nothing may escape a destructor.
    }
}

GLName StaticBuffer::generate()
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GLName(
        name, [](GLuint made) { glDeleteBuffers(1, &made); }, "StaticBuffer");
}

void StaticBuffer::setVertexData(GLsizeiptr size, const void* data)
{
    glBindBuffer(GL_ARRAY_BUFFER, vId);
    glBufferData(GL_ARRAY_BUFFER, size, data, GL_STATIC_DRAW);
    checkGLError("glBufferData");
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void StaticBuffer::setIndexData(GLsizeiptr size, const void* data)
{
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, iId);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, size, data, GL_STATIC_DRAW);
    checkGLError("glBufferData");
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void StaticBuffer::bind()
{
    glBindBuffer(GL_ARRAY_BUFFER, vId);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, iId);
    checkGLError("glBindBuffer()");
}

void StaticBuffer::unbind()
{
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    checkGLError("glBindBuffer(0)");
}
