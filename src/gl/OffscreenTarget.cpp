#include "gl/OffscreenTarget.h"

OffscreenTarget::OffscreenTarget(const Resolution& size, Depth withDepth)
    : targetSize(size)
    , depth(withDepth == Depth::Depth24 ? std::make_optional<RenderBuffer>() : std::nullopt)
    , colourTexture(size)
{
    if (depth) {
        depth->storage(
            GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
    }
    frame.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colourTexture);
    if (depth)
        frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, *depth);
    if (!frame.validate(GL_FRAMEBUFFER))
        frame.unbind(GL_FRAMEBUFFER); // logged by validate
}
