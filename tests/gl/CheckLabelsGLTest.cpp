#include "gl/FrameBuffer.h"
#include "gl/GLTestHelpers.h"
#include "gl/RenderBuffer.h"
#include "gl/ShaderProgram.h"
#include "gl/StaticBuffer.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Every check names the call it follows, so that the one line a GL error
// leaves on the console points at the right place. An error left pending
// (glEnable of no such capability) is caught by an operation's first check;
// a bad argument reaches a later one.
TEST(CheckLabels, EachWrapperCheckNamesItsCallInTheErrorText)
{
    LogCapture capture;
    const std::string shaders = "tests/gl/shaders/";
    ShaderProgram program(shaders + "good.vert", shaders + "good.frag");
    StaticBuffer buffer;
    const Resolution tiny { 2, 2 };
    Texture2D texture(tiny);
    FrameBuffer frame;
    RenderBuffer depth;
    const float data[4] = {};
    struct Case {
        std::string label;
        bool pending; // else the operation's own argument is at fault
        std::function<void()> operation;
    };
    const Case cases[] = {
        { "glGenBuffers", true, [] { StaticBuffer made; } },
        { "glBufferData", true, [&] { buffer.setVertexData(sizeof data, data); } },
        { "glBufferData", true, [&] { buffer.setIndexData(sizeof data, data); } },
        { "glBindBuffer()", true, [&] { buffer.bind(); } },
        { "glBindBuffer(0)", true, [] { StaticBuffer::unbind(); } },
        { "glGenTextures", true, [&] { Texture2D made(tiny); } },
        { "glBindTexture", true, [&] { texture.bind(); } },
        { "glBindTexture (0)", true, [&] { texture.unbind(); } },
        { "glTexImage2D", true, [&] { texture.setImage(tiny, nullptr); } },
        { "glGenFrameBuffers", true, [] { FrameBuffer made; } },
        { "glBindFrameBuffer", true, [&] { frame.bind(GL_FRAMEBUFFER); } },
        { "glBindFrameBuffer (unbind)", true, [&] { frame.unbind(GL_FRAMEBUFFER); } },
        { "glFramebufferTexture2D", false, [&] { frame.attachTexture2D(GL_FRAMEBUFFER, 0xFFFF, texture); } },
        { "glFramebufferRenderbuffer", false, [&] { frame.attachRenderBuffer(GL_FRAMEBUFFER, 0xFFFF, depth); } },
        { "glGenRenderbuffers", true, [] { RenderBuffer made; } },
        { "glRenderbufferStorage", true, [&] { depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, 2, 2); } },
        { "glCreateProgram()", true, [&] { ShaderProgram made(shaders + "good.vert", shaders + "good.frag"); } },
        { "glGetAttribLocation(position)", true, [&] { program.getAttribLocation("position"); } },
        { "glGetUniformLocation(colour)", true, [&] { program.getUniformLocation("colour"); } },
    };
    for (const Case& c : cases) {
        if (c.pending)
            glEnable(0xFFFF);
        const std::string text = thrownBy([&] { c.operation(); });
        EXPECT_NE(text.find(" in '" + c.label + "'"), std::string::npos) << text;
        // A thrown operation stops where it was; put the bindings back.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        StaticBuffer::unbind();
    }
    EXPECT_NO_GL_ERROR();
}
