#include "gl/FrameBuffer.h"
#include "gl/GLTestHelpers.h"
#include "gl/ShaderProgram.h"
#include "gl/StaticBuffer.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<Texture2D> && !std::is_copy_assignable_v<Texture2D>);

namespace {

// Binds the texture just for the query.
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

TEST(Texture, CreationAndDestructionLogTheirLinesAndLeaveNothingBound)
{
    LogCapture capture;
    auto texture = std::make_unique<Texture2D>(Resolution { 800, 600 });
    const GLuint id = texture->id;
    EXPECT_EQ(capture.out(), "GL Texture ID created: " + std::to_string(id) + "\n");
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(levelParameter(*texture, GL_TEXTURE_WIDTH), 800);
    EXPECT_EQ(levelParameter(*texture, GL_TEXTURE_INTERNAL_FORMAT), 4); // unsized, kept as given

    capture.clear();
    texture.reset();
    EXPECT_EQ(capture.out(), "GL Texture with id: " + std::to_string(id) + " deleted\n");
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, UploadOfRowsNotMultipleOfFourBytesReadsBackUnshifted)
{
    LogCapture capture;
    // Three RGB pixels make 9-byte rows: under the GL's default alignment of 4
    // the second row would be read from byte 12, past the end of this buffer.
    const std::vector<unsigned char> rgb = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18 };
    Texture2D texture(3, Resolution { 3, 2 }, GL_RGB, rgb.data());
    EXPECT_EQ(readBack(texture, GL_RGB, rgb.size()), rgb);
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 4); // the caller's setting is back
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(Texture, RejectedSizeThrowsNamingTheUploadAndStillDeletesTheName)
{
    LogCapture capture;
    // Wider than GLsizei holds: it reaches the GL as a negative width.
    EXPECT_EQ(thrownBy([] { Texture2D texture(Resolution { 0x80000000u, 4 }); }), "Invalid value in 'glTexImage2D'");
    const std::string out = capture.out();
    const std::string id = out.substr(23, out.find('\n') - 23);
    EXPECT_EQ(out, "GL Texture ID created: " + id + "\nGL Texture with id: " + id + " deleted\n");
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}

// Under the GL's default minification filter a texture without mipmaps is
// incomplete and samples black.
TEST(Texture, SamplesItsUploadedImageRightAfterCreation)
{
    LogCapture capture;
    const Resolution size = GLTestEnvironment::size();
    Texture2D target(size);
    FrameBuffer frameBuffer;
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target);

    std::vector<unsigned char> image;
    for (int i = 0; i < 16; ++i)
        image.insert(image.end(), { 200, 100, 50, 255 });
    Texture2D picture(GL_RGBA, Resolution { 4, 4 }, GL_RGBA, image.data());
    EXPECT_EQ(readBack(picture, GL_RGBA, image.size()), image);

    const GLfloat corners[] = { -1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f };
    const GLushort triangles[] = { 0, 1, 2, 0, 2, 3 };
    StaticBuffer quad;
    quad.setVertexData(sizeof(corners), corners);
    quad.setIndexData(sizeof(triangles), triangles);
    ShaderProgram program("tests/gl/shaders/good.vert", "tests/gl/shaders/good.frag");

    frameBuffer.bind(GL_FRAMEBUFFER);
    program.use();
    program.setMatrix("mvpMatrix", glm::mat4(1.0f));
    program.setVector4("colour", glm::vec4(1.0f, 0.5f, 1.0f, 1.0f));
    program.setTexture2D("image", picture, 0);
    quad.bind();
    const GLuint position = static_cast<GLuint>(program.getAttribLocation("position"));
    glEnableVertexAttribArray(position);
    glVertexAttribPointer(position, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
    glDisableVertexAttribArray(position);
    StaticBuffer::unbind();
    EXPECT_TRUE(pixelNear(readPixel(80, 60), 200, 50, 50, 255));
    EXPECT_TRUE(pixelNear(readPixel(1, 1), 200, 50, 50, 255));

    ShaderProgram::unsetTexture2D(picture, 0);
    ShaderProgram::unuse();
    frameBuffer.unbind(GL_FRAMEBUFFER);
    EXPECT_EQ(capture.out().find("Fail"), std::string::npos) << capture.out();
    EXPECT_NO_GL_ERROR();
}
