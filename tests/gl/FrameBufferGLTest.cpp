#include "gl/FrameBuffer.h"
#include "gl/GLTestHelpers.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"
#include "gl/WindowFramebuffer.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

// sdl12-compat presents a window through a framebuffer object of its own:
// "unbinding" must go back to that one, or the frame is drawn unseen. Only a
// failed validation leaves the framebuffer bound.
TEST(FrameBuffer, EachCallButAFailedValidationGoesBackToTheFramebufferTheWindowPresents)
{
    LogCapture capture;
    const Resolution size = GLTestEnvironment::size();
    // The attachments' owners outlive the framebuffer by declaration order.
    Texture2D colour(size);
    RenderBuffer depth;
    FrameBuffer windows;
    FrameBuffer frameBuffer;
    windows.bind(GL_FRAMEBUFFER);
    WindowFramebuffer::adoptBound();
    EXPECT_EQ(WindowFramebuffer::name(), windows.id);

    EXPECT_FALSE(frameBuffer.validate(GL_FRAMEBUFFER)); // incomplete without attachments
    EXPECT_EQ(capture.err(), "Fail to validate the FBO\n\n");
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), glName(frameBuffer.id));
    frameBuffer.unbind(GL_FRAMEBUFFER);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), glName(windows.id));
    capture.clear();
    depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, GLsizei(size.width), GLsizei(size.height));
    EXPECT_EQ(glInteger(GL_RENDERBUFFER_BINDING), 0);
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), glName(windows.id));
    frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), glName(windows.id));
    EXPECT_TRUE(frameBuffer.validate(GL_FRAMEBUFFER));
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), glName(windows.id));
    EXPECT_EQ(capture.err(), "");

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    WindowFramebuffer::adoptBound();
    EXPECT_EQ(WindowFramebuffer::name(), 0u);
    EXPECT_NO_GL_ERROR();
}
