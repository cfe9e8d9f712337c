#include "engine/Exception.h"
#include "gl/FrameBuffer.h"
#include "gl/GLErrorException.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<FrameBuffer>);
static_assert(!std::is_copy_assignable_v<FrameBuffer>);
static_assert(!std::is_copy_constructible_v<RenderBuffer>);
static_assert(!std::is_copy_assignable_v<RenderBuffer>);

namespace {

GLint integer(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLint attached(GLenum attachment)
{
    GLint name = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return name;
}

GLsizei width()
{
    return static_cast<GLsizei>(GLTestEnvironment::width);
}

GLsizei height()
{
    return static_cast<GLsizei>(GLTestEnvironment::height);
}

} // namespace

TEST(FrameBuffer, CreationAndDestructionLogTheirLines)
{
    LogCapture capture;
    auto frameBuffer = std::make_unique<FrameBuffer>();
    const GLuint frameId = frameBuffer->id;
    EXPECT_EQ(capture.out(), "New FrameBuffer id: " + std::to_string(frameId) + "\nFrameBuffer created\n");
    capture.clear();
    auto renderBuffer = std::make_unique<RenderBuffer>();
    const GLuint renderId = renderBuffer->id;
    EXPECT_EQ(capture.out(), "New RenderBuffer id: " + std::to_string(renderId) + "\nRenderBuffer created\n");
    // Names become objects on first use; only then can deletion be seen.
    renderBuffer->storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, 4, 4);
    frameBuffer->bind(GL_FRAMEBUFFER);
    frameBuffer->unbind(GL_FRAMEBUFFER);
    ASSERT_TRUE(glIsRenderbuffer(renderId));
    ASSERT_TRUE(glIsFramebuffer(frameId));

    capture.clear();
    renderBuffer.reset();
    EXPECT_EQ(capture.out(), "deleted created\n");
    EXPECT_FALSE(glIsRenderbuffer(renderId));
    capture.clear();
    frameBuffer.reset();
    EXPECT_EQ(capture.out(), "FrameBuffer '" + std::to_string(frameId) + "' deleted\n");
    EXPECT_FALSE(glIsFramebuffer(frameId));
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

TEST(FrameBuffer, IncompleteFramebufferFailsValidationAndStaysBound)
{
    LogCapture capture;
    FrameBuffer frameBuffer;
    capture.clear();
    EXPECT_FALSE(frameBuffer.validate(GL_FRAMEBUFFER));
    EXPECT_EQ(capture.err(), "Fail to validate the FBO\n\n");
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(frameBuffer.id));
    frameBuffer.unbind(GL_FRAMEBUFFER);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(FrameBuffer, StorageAndAttachmentsLeaveNothingBoundAndMakeItComplete)
{
    LogCapture capture;
    // The attachments' owners outlive the framebuffer by declaration order.
    Texture2D colour(GLTestEnvironment::size());
    RenderBuffer depth;
    FrameBuffer frameBuffer;

    depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width(), height());
    EXPECT_EQ(integer(GL_RENDERBUFFER_BINDING), 0);
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    capture.clear();
    EXPECT_TRUE(frameBuffer.validate(GL_FRAMEBUFFER));
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(capture.err(), "");

    frameBuffer.bind(GL_FRAMEBUFFER);
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT0), static_cast<GLint>(colour.id));
    EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT), static_cast<GLint>(depth.id));
    frameBuffer.unbind(GL_FRAMEBUFFER);

    glBindRenderbuffer(GL_RENDERBUFFER, depth.id);
    GLint depthBits = 0;
    GLint depthWidth = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &depthWidth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_EQ(depthBits, 24);
    EXPECT_EQ(depthWidth, width());
    EXPECT_NO_GL_ERROR();
}

TEST(FrameBuffer, DrawingIntoItReachesTheColourTextureNotTheWindow)
{
    LogCapture capture;
    Texture2D colour(GLTestEnvironment::size());
    RenderBuffer depth;
    FrameBuffer frameBuffer;
    depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width(), height());
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
    frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    ASSERT_TRUE(frameBuffer.validate(GL_FRAMEBUFFER));

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    frameBuffer.bind(GL_FRAMEBUFFER);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(frameBuffer.id));
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(pixelNear(readPixel(0, 0), 64, 128, 191, 255));
    EXPECT_TRUE(pixelNear(readPixel(width() - 1, height() - 1), 64, 128, 191, 255));
    frameBuffer.unbind(GL_FRAMEBUFFER);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_TRUE(pixelNear(readPixel(10, 10), 0, 0, 0));
    EXPECT_NO_GL_ERROR();
}

TEST(FrameBuffer, FailedAttachThrowsNamingTheCall)
{
    LogCapture capture;
    Texture2D colour(Resolution{4, 4});
    FrameBuffer frameBuffer;
    try {
        frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_TEXTURE_2D, colour); // not an attachment point
        FAIL() << "a bad attachment point was accepted";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid enumerator in 'glFramebufferTexture2D'");
    }
    // The operation stopped at its check, before its unbind.
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(frameBuffer.id));
    frameBuffer.unbind(GL_FRAMEBUFFER);
    EXPECT_NO_GL_ERROR();
}
