#include "RenderTarget.h"
#include "gl/GLTestHelpers.h"
#include "render/ScreenQuad.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The picture the post-process reads: one colour over the whole frame.
Texture2D solidFrame(unsigned char r, unsigned char g, unsigned char b)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 16 * 16; ++i)
        pixels.insert(pixels.end(), { r, g, b, 255 });
    return Texture2D(4, Resolution { 16, 16 }, GL_RGBA, pixels.data());
}

} // namespace

TEST(ScreenQuad, FadeZeroIsBlackTenShowsThePictureAndMoreBurnsItBrighter)
{
    LogCapture capture;
    ShaderProgram post("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag");
    ScreenQuad quad;
    quad.init();
    Texture2D frame = solidFrame(200, 100, 50);
    RenderTarget window(32);
    capture.clear();

    quad.draw(post, frame, glm::vec2(32.0f, 32.0f)); // a new quad's fade is 0
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 0, 0, 0));

    quad.fade = 10.0f;
    quad.draw(post, frame, glm::vec2(32.0f, 32.0f));
    // Inside the vignette's untouched middle, away from the centre too: the quad covers the frame.
    for (const auto& [x, y] : { std::pair { 16, 16 }, { 8, 16 }, { 16, 24 } })
        EXPECT_TRUE(pixelNear(readPixel(x, y), 200, 100, 50)) << x << ", " << y;

    quad.fade = 40.0f; // camera moves push it past 10: brighter than the picture, never darker
    quad.draw(post, frame, glm::vec2(32.0f, 32.0f));
    const Pixel burnt = readPixel(16, 16);
    EXPECT_GT(burnt.r, 200);
    EXPECT_GT(burnt.g, 100);

    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (GLenum binding : { GL_TEXTURE_BINDING_2D, GL_CURRENT_PROGRAM, GL_ARRAY_BUFFER_BINDING })
        EXPECT_EQ(glInteger(binding), 0) << binding;
    EXPECT_NO_GL_ERROR();
}

TEST(ScreenQuad, ProgramWithoutFadeDrawsNothingAfterSettingResolution)
{
    LogCapture capture;
    ShaderProgram noFade("tests/render/shaders/noFade.vert", "tests/render/shaders/noFade.frag");
    ScreenQuad quad;
    quad.init();
    Texture2D frame = solidFrame(255, 255, 255);
    RenderTarget window(16);
    capture.clear();
    quad.fade = 10.0f;
    quad.draw(noFade, frame, glm::vec2(16.0f, 16.0f));
    EXPECT_EQ(capture.out(), "Fail to get 'fade'\nfade not found\n");
    EXPECT_TRUE(pixelNear(readPixel(8, 8), 0, 0, 0));
    GLfloat resolution[2] = { 0, 0 };
    glGetUniformfv(noFade.programId, noFade.getUniformLocation("resolution"), resolution);
    EXPECT_EQ(resolution[0], 16.0f);
    // The early return leaves its program, buffers and arrays for the next pass
    // to replace; put them back here so later tests start clean.
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), glName(noFade.programId));
    for (GLuint attribute = 0; attribute < 2; ++attribute)
        glDisableVertexAttribArray(attribute);
    StaticBuffer::unbind();
    ShaderProgram::unuse();
    EXPECT_NO_GL_ERROR();
}
