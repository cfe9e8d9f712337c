#include "gl/FrameBuffer.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"
#include "gl/WindowFramebuffer.h"

FrameBuffer::FrameBuffer()
    : id(generate())
{
}

FrameBuffer::~FrameBuffer()
{
    if (id == 0)
        return; // moved away
    const GLuint name = id;
    id.reset();
    try {
        VornE::log(VornE::Info, "FrameBuffer '", name, "' deleted\n");
    } catch (...) {
        // Logging may allocate; a destructor must not let that escape.
    }
}

GLName FrameBuffer::generate()
{
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    VornE::log(VornE::Info, "New FrameBuffer id: ", name, "\n");
    GLName owned(
        name, [](GLuint made) { glDeleteFramebuffers(1, &made); }, "FrameBuffer");
    checkGLError("glGenFrameBuffers");
    VornE::log(VornE::Info, "FrameBuffer created\n");
    return owned;
}

void FrameBuffer::bind(GLenum target)
{
    glBindFramebuffer(target, id);
    checkGLError("glBindFrameBuffer");
}

void FrameBuffer::unbind(GLenum target)
{
    glBindFramebuffer(target, WindowFramebuffer::name());
    checkGLError("glBindFrameBuffer (unbind)");
}

void FrameBuffer::attachTexture2D(GLenum target, GLenum attachment, Texture& texture)
{
    bind(target);
    glFramebufferTexture2D(target, attachment, GL_TEXTURE_2D, texture.id, 0);
    checkGLError("glFramebufferTexture2D");
    unbind(target);
}

void FrameBuffer::attachRenderBuffer(GLenum target, GLenum attachment, RenderBuffer& renderBuffer)
{
    bind(target);
    glFramebufferRenderbuffer(target, attachment, GL_RENDERBUFFER, renderBuffer.id);
    checkGLError("glFramebufferRenderbuffer");
    unbind(target);
}

bool FrameBuffer::validate(GLenum target)
{
    bind(target);
    if (glCheckFramebufferStatus(target) == GL_FRAMEBUFFER_COMPLETE) {
        unbind(target);
        return true;
    }
    VornE::log(VornE::Error, "Fail to validate the FBO\n");
    return false;
}
