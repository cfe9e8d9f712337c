#include "gl/RenderBuffer.h"

#include "core/Exception.h"
#include "core/Logger.h"
#include "gl/GLErrorException.h"

RenderBuffer::RenderBuffer()
    : id(generate())
{
}

RenderBuffer::~RenderBuffer()
{
    // Deleted through the extension entry point; the core one is the fallback
    // for a GL without EXT_framebuffer_object, where the pointer is null.
    if (glDeleteRenderbuffersEXT != nullptr)
        glDeleteRenderbuffersEXT(1, &id);
    else
        glDeleteRenderbuffers(1, &id);
    try {
        VornE::log(VornE::Info, "deleted created\n");
    } catch (...) {
        // Logging may allocate; a destructor must not let that escape.
    }
}

GLuint RenderBuffer::generate()
{
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    VornE::log(VornE::Info, "New RenderBuffer id: ", name, "\n");
    if (name == 0)
        throw VornE::Exception("RenderBuffer id is 0");
    try {
        checkGLError("glGenRenderbuffers");
    } catch (...) {
        glDeleteRenderbuffers(1, &name);
        throw;
    }
    VornE::log(VornE::Info, "RenderBuffer created\n");
    return name;
}

void RenderBuffer::storage(GLenum target, GLenum internalFormat, GLsizei width, GLsizei height)
{
    glBindRenderbuffer(target, id);
    glRenderbufferStorage(target, internalFormat, width, height);
    checkGLError("glRenderbufferStorage");
    glBindRenderbuffer(target, 0);
}
