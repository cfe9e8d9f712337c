#include "gl/RenderBuffer.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"

RenderBuffer::RenderBuffer()
    : id(generate())
{
}

RenderBuffer::~RenderBuffer()
{
    if (id == 0)
        return; // moved away
    id.reset();
    try {
        VornE::log(VornE::Info, "deleted created\n");
    } catch (...) {
        // Logging may allocate; a destructor must not let that escape.
    }
}

GLName RenderBuffer::generate()
{
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    VornE::log(VornE::Info, "New RenderBuffer id: ", name, "\n");
    // Deleted through the extension entry point; the core one is the fallback
    // for a GL without EXT_framebuffer_object, where the pointer is null.
    GLName owned(
        name,
        [](GLuint made) {
            if (glDeleteRenderbuffersEXT != nullptr)
                glDeleteRenderbuffersEXT(1, &made);
            else
                glDeleteRenderbuffers(1, &made);
        },
        "RenderBuffer");
    checkGLError("glGenRenderbuffers");
    VornE::log(VornE::Info, "RenderBuffer created\n");
    return owned;
}

void RenderBuffer::storage(GLenum target, GLenum internalFormat, GLsizei width, GLsizei height)
{
    glBindRenderbuffer(target, id);
    glRenderbufferStorage(target, internalFormat, width, height);
    checkGLError("glRenderbufferStorage");
    glBindRenderbuffer(target, 0);
}

void RenderBuffer::storageMultisample(
    GLenum target, GLsizei samples, GLenum internalFormat, GLsizei width, GLsizei height)
{
    glBindRenderbuffer(target, id);
    glRenderbufferStorageMultisampleEXT(target, samples, internalFormat, width, height);
    checkGLError("glRenderbufferStorageMultisampleEXT");
    glBindRenderbuffer(target, 0);
}
