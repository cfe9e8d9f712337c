#include "gl/FrameBuffer.h"
#include "gl/GLErrorException.h"
#include "gl/ShaderProgram.h"
#include "gl/StaticBuffer.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<Texture2D>);
static_assert(!std::is_copy_assignable_v<Texture2D>);
static_assert(std::is_abstract_v<Texture>);

namespace {

GLint integer(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLint levelParameter(const Texture& texture, GLenum what)
{
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

std::vector<unsigned char> readBack(const Texture& texture, GLenum format, std::size_t bytes)
{
    std::vector<unsigned char> pixels(bytes, 0);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

} // namespace

TEST(Texture, CreationLogsOneLineAndLeavesAnUnboundLinearTexture)
{
    LogCapture capture;
    Texture2D texture(Resolution{800, 600});
    EXPECT_EQ(capture.out(), "GL Texture ID created: " + std::to_string(texture.id) + "\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(texture.target, static_cast<GLenum>(GL_TEXTURE_2D));

    EXPECT_EQ(levelParameter(texture, GL_TEXTURE_WIDTH), 800);
    EXPECT_EQ(levelParameter(texture, GL_TEXTURE_HEIGHT), 600);
    // The unsized format 4 is kept as given.
    EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), 4);
    GLint filter = -1;
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, DestructionDeletesTheNameAndLogsIt)
{
    LogCapture capture;
    auto texture = std::make_unique<Texture2D>(Resolution{8, 8});
    const GLuint id = texture->id;
    ASSERT_TRUE(glIsTexture(id));
    capture.clear();
    texture.reset();
    EXPECT_EQ(capture.out(), "GL Texture with id: " + std::to_string(id) + " deleted\n");
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, UploadedPixelsReadBackWithTheirFormat)
{
    LogCapture capture;
    const std::vector<unsigned char> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 64, 10, 20, 30, 40};
    Texture2D texture(GL_RGBA, Resolution{2, 2}, GL_RGBA, rgba.data());
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(readBack(texture, GL_RGBA, rgba.size()), rgba);
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, UploadOfRowsNotMultipleOfFourBytesReadsBackUnshifted)
{
    LogCapture capture;
    // Three RGB pixels make 9-byte rows: with the GL's default row alignment
    // of 4 the second row would be read from byte 12, past this buffer.
    const std::vector<unsigned char> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    Texture2D texture(3, Resolution{3, 2}, GL_RGB, rgb.data());
    EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), 3);
    EXPECT_EQ(readBack(texture, GL_RGB, rgb.size()), rgb);
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 4); // the caller's setting is back
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, RejectedSizeThrowsNamingTheUploadAndStillDeletesTheName)
{
    LogCapture capture;
    // Wider than GLsizei can hold: reaches the GL as a negative width.
    try {
        Texture2D texture(Resolution{0x80000000u, 4});
        FAIL() << "a negative width was accepted";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid value in 'glTexImage2D'");
    }
    const std::string out = capture.out();
    const std::string created = "GL Texture ID created: ";
    ASSERT_EQ(out.substr(0, created.size()), created);
    const std::string id = out.substr(created.size(), out.find('\n') - created.size());
    EXPECT_EQ(out, created + id + "\nGL Texture with id: " + id + " deleted\n");
    EXPECT_FALSE(glIsTexture(static_cast<GLuint>(std::stoul(id))));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}

// Sampling right after creation, with no mipmaps: under the GL's default
// minification filter the texture would be incomplete and sample black.
TEST(Texture, SamplesItsImageWithoutMipmaps)
{
    LogCapture capture;
    const Resolution size = GLTestEnvironment::size();
    Texture2D target(size);
    RenderBuffer depth;
    depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, static_cast<GLsizei>(size.width),
        static_cast<GLsizei>(size.height));
    FrameBuffer frameBuffer;
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target);
    frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    ASSERT_TRUE(frameBuffer.validate(GL_FRAMEBUFFER));

    std::vector<unsigned char> image(4 * 4 * 4);
    for (std::size_t i = 0; i < image.size(); i += 4) {
        image[i] = 200;
        image[i + 1] = 100;
        image[i + 2] = 50;
        image[i + 3] = 255;
    }
    Texture2D picture(GL_RGBA, Resolution{4, 4}, GL_RGBA, image.data());

    const GLfloat corners[] = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};
    const GLushort triangles[] = {0, 1, 2, 0, 2, 3};
    StaticBuffer quad;
    quad.setVertexData(sizeof(corners), corners);
    quad.setIndexData(sizeof(triangles), triangles);
    ShaderProgram program("tests/gl/shaders/good.vert", "tests/gl/shaders/good.frag");

    frameBuffer.bind(GL_FRAMEBUFFER);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    program.use();
    ASSERT_TRUE(program.setMatrix("mvpMatrix", glm::mat4(1.0f)));
    ASSERT_TRUE(program.setVector4("colour", glm::vec4(1.0f, 0.5f, 1.0f, 1.0f)));
    ASSERT_TRUE(program.setTexture2D("image", picture, 0));
    quad.bind();
    const GLint position = program.getAttribLocation("position");
    ASSERT_GE(position, 0);
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    StaticBuffer::unbind();

    EXPECT_TRUE(pixelNear(readPixel(80, 60), 200, 50, 50, 255));
    EXPECT_TRUE(pixelNear(readPixel(2, 2), 200, 50, 50, 255));

    ShaderProgram::unsetTexture2D(picture, 0);
    ShaderProgram::unuse();
    frameBuffer.unbind(GL_FRAMEBUFFER);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}
