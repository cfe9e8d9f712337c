#include "render/ScreenQuad.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"
#include "RenderTarget.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The picture the post-process reads: one colour over the whole frame.
Texture2D solidFrame(unsigned char r, unsigned char g, unsigned char b)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 16 * 16; ++i)
        pixels.insert(pixels.end(), {r, g, b, 255});
    return Texture2D(4, Resolution{16, 16}, GL_RGBA, pixels.data());
}

GLint boundInteger(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

} // namespace

TEST(ScreenQuad, InitUploadsTheQuadTables)
{
    LogCapture capture;
    ScreenQuad quad;
    EXPECT_EQ(quad.fade, 0.0f);
    quad.init();
    GLint size = 0;
    std::vector<float> vertices(16);
    glBindBuffer(GL_ARRAY_BUFFER, quad.buffer.vId);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 64, vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(size, 64);
    EXPECT_EQ(vertices, std::vector<float>(ScreenQuad::vertices, ScreenQuad::vertices + 16));
    std::vector<unsigned int> indices(6);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quad.buffer.iId);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, 24, indices.data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    EXPECT_EQ(size, 24);
    EXPECT_EQ(indices, (std::vector<unsigned int>{0, 1, 2, 2, 3, 0}));
    EXPECT_NO_GL_ERROR();
}

TEST(ScreenQuad, FadeZeroIsBlackAndTenShowsThePicture)
{
    LogCapture capture;
    ShaderProgram post("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag");
    ScreenQuad quad;
    quad.init();
    Texture2D frame = solidFrame(200, 100, 50);
    RenderTarget window(32);
    capture.clear();

    quad.draw(post, frame, glm::vec2(32.0f, 32.0f));
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 0, 0, 0));

    quad.fade = 10.0f;
    quad.draw(post, frame, glm::vec2(32.0f, 32.0f));
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 200, 100, 50)); // the centre is untouched by the vignette

    quad.fade = 40.0f; // camera moves push it past 10: brighter than the picture, never darker
    quad.draw(post, frame, glm::vec2(32.0f, 32.0f));
    const Pixel burnt = readPixel(16, 16);
    EXPECT_GT(burnt.r, 200);
    EXPECT_GT(burnt.g, 100);

    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(boundInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(boundInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(boundInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(boundInteger(GL_ARRAY_BUFFER_BINDING), 0);
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
    GLfloat resolution[2] = {0, 0};
    glGetUniformfv(noFade.programId, noFade.getUniformLocation("resolution"), resolution);
    EXPECT_EQ(resolution[0], 16.0f);
    // The early return leaves its program, buffers and arrays for the next pass
    // to replace; put them back here so later tests start clean.
    EXPECT_EQ(boundInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(noFade.programId));
    for (GLuint attribute = 0; attribute < 2; ++attribute)
        glDisableVertexAttribArray(attribute);
    StaticBuffer::unbind();
    ShaderProgram::unuse();
    EXPECT_NO_GL_ERROR();
}
