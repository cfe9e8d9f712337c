#include "gl/OffscreenTarget.h"

#include "gl/GLErrorException.h"
#include "gl/WindowFramebuffer.h"

OffscreenTarget::OffscreenTarget(const Resolution& size, Depth withDepth, int samples)
    : targetSize(size)
    // The texture's own framebuffer needs no depth when the drawing goes
    // into the multisampled one.
    , depth(withDepth == Depth::Depth24 && samples <= 0 ? std::make_optional<RenderBuffer>() : std::nullopt)
    , colourTexture(size)
{
    const GLsizei width = static_cast<GLsizei>(size.width);
    const GLsizei height = static_cast<GLsizei>(size.height);
    if (depth)
        depth->storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    frame.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colourTexture);
    if (depth)
        frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, *depth);
    if (!frame.validate(GL_FRAMEBUFFER))
        frame.unbind(GL_FRAMEBUFFER); // logged by validate
    if (samples <= 0)
        return;

    multisampled.emplace();
    multisampled->colour.storageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
    multisampled->frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, multisampled->colour);
    if (withDepth == Depth::Depth24) {
        multisampled->depth.storageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, width, height);
        multisampled->frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, multisampled->depth);
    }
    if (!multisampled->frame.validate(GL_FRAMEBUFFER))
        multisampled->frame.unbind(GL_FRAMEBUFFER); // logged by validate
}

void OffscreenTarget::resolve()
{
    if (!multisampled)
        return;
    const GLint width = static_cast<GLint>(targetSize.width);
    const GLint height = static_cast<GLint>(targetSize.height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER_EXT, multisampled->frame.id);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, frame.id);
    glBlitFramebufferEXT(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    checkGLError("glBlitFramebufferEXT");
    glBindFramebuffer(GL_FRAMEBUFFER, WindowFramebuffer::name());
    checkGLError("glBindFramebuffer (resolved)");
}
