#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TexLevel {
    GLint internalFormat, width, height;
};

TexLevel levelOf(const Texture& texture)
{
    TexLevel level {};
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &level.internalFormat);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
    texture.unbind();
    return level;
}

// The texture's level 0 read back in `format`, rows tightly packed.
std::vector<unsigned char> pixelsOf(const Texture& texture, GLenum format, std::size_t bytes)
{
    std::vector<unsigned char> pixels(bytes);
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    texture.unbind();
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    return pixels;
}

GLint boundTexture()
{
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

// What DevIL decodes from `path`: the bytes the loader must hand to GL
// unchanged (DevIL, not the loader, decides the row order).
std::vector<unsigned char> decoded(const std::string& path)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<unsigned char> pixels;
    if (ilLoadImage(path.c_str())) {
        const ILubyte* data = ilGetData();
        pixels.assign(data, data + ilGetInteger(IL_IMAGE_SIZE_OF_DATA));
    }
    ilDeleteImages(1, &image);
    return pixels;
}

std::string createdLine(const Texture& texture)
{
    return "GL Texture ID created: " + std::to_string(texture.id) + "\n";
}

class TextureLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/lumaroll-images-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // Writes a PNG with DevIL (initialised by the loader) and returns its path.
    std::string writePng(const std::string& file, ILuint width, ILuint height, ILubyte channels, ILenum format,
        ILenum type, const void* data)
    {
        const std::string path = dir + "/" + file;
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        EXPECT_TRUE(ilTexImage(width, height, 1, channels, format, type, const_cast<void*>(data)));
        if (format == IL_COLOUR_INDEX) {
            std::vector<ILubyte> palette(256 * 3, 128);
            ilRegisterPal(palette.data(), static_cast<ILuint>(palette.size()), IL_PAL_RGB24);
        }
        EXPECT_TRUE(ilSave(IL_PNG, path.c_str()));
        ilDeleteImages(1, &image);
        return path;
    }

    // Runs a load that must fail; checks it logged `expected` at Error only.
    void expectRefused(const std::string& path, const std::string& expected)
    {
        LogCapture capture;
        std::unique_ptr<VornE::Ressource> texture(loader.load(path));
        EXPECT_EQ(texture, nullptr);
        EXPECT_EQ(capture.err(), expected);
        EXPECT_EQ(capture.out(), ""); // no "GL Texture ID created" line: no GL texture was made
        EXPECT_EQ(boundTexture(), 0);
        EXPECT_NO_GL_ERROR();
    }

    VornE::TextureLoader loader;
    std::string dir;
};

} // namespace

TEST_F(TextureLoader, EachImageFormatPassesThroughWithItsComponentCountAndUnshiftedRows)
{
    struct Case {
        const char* file;
        ILubyte channels;
        ILenum format; // also the GL pixel format the texture is read back in
        GLint internalFormat;
    };
    // 5 pixels a row: 15-byte RGB rows and 5-byte grey rows that a 4-byte
    // row stride would shear.
    const ILuint width = 5, height = 3;
    for (const Case& c : { Case { "rgb.png", 3, IL_RGB, 3 }, Case { "rgba.png", 4, IL_RGBA, 4 },
             Case { "grey.png", 1, IL_LUMINANCE, 1 } }) {
        SCOPED_TRACE(c.file);
        std::vector<unsigned char> source(width * height * c.channels);
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<unsigned char>(i * 5);
        const std::string path = writePng(c.file, width, height, c.channels, c.format, IL_UNSIGNED_BYTE, source.data());

        LogCapture capture;
        std::unique_ptr<VornE::Ressource> ressource(loader.load(path));
        ASSERT_NE(ressource, nullptr) << capture.err();
        const Texture2D& texture = static_cast<const Texture2D&>(*ressource);
        EXPECT_EQ(capture.out(), createdLine(texture));
        EXPECT_EQ(capture.err(), "");
        const TexLevel level = levelOf(texture);
        EXPECT_EQ(level.internalFormat, c.internalFormat);
        EXPECT_EQ(level.width, static_cast<GLint>(width));
        EXPECT_EQ(level.height, static_cast<GLint>(height));
        // The same bytes only if the format went through and the rows were read tightly packed.
        const std::vector<unsigned char> expected = decoded(path);
        ASSERT_EQ(expected.size(), source.size());
        EXPECT_EQ(pixelsOf(texture, c.format, source.size()), expected);
        EXPECT_EQ(boundTexture(), 0);
    }
    EXPECT_NO_GL_ERROR();
}

TEST_F(TextureLoader, MissingFileGivesNullAndNoTexture)
{
    const std::string path = dir + "/no_such_image.png";
    expectRefused(path, "Error while loading '\n" + path + "\n'\n\n");
}

TEST_F(TextureLoader, FileThatIsNotAnImageGivesNullAndNoTexture)
{
    const std::string path = std::string(LUMAROLL_SOURCE_DIR) + "/tests/engine/images/not_an_image.txt";
    expectRefused(path, "Error while loading '\n" + path + "\n'\n\n");
}

TEST_F(TextureLoader, ColourIndexedImageIsRefusedWithoutTexture)
{
    const unsigned char source[2 * 2] = { 0, 1, 2, 3 };
    const std::string path = writePng("indexed.png", 2, 2, 1, IL_COLOUR_INDEX, IL_UNSIGNED_BYTE, source);
    expectRefused(path, "Error while loading '\n" + path + "\n' : \npixel format not supported\n\n\n");
}

TEST_F(TextureLoader, SixteenBitImageIsRefusedWithoutTexture)
{
    const unsigned short source[2 * 2 * 3] = { 0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000 };
    const std::string path = writePng("deep.png", 2, 2, 3, IL_RGB, IL_UNSIGNED_SHORT, source);
    expectRefused(path, "Error while loading '\n" + path + "\n' : \nnot 8 bits per channel\n\n\n");
}

TEST_F(TextureLoader, DevilImageIsReleasedAfterSuccessAndAfterFailure)
{
    const unsigned char source[4] = { 1, 2, 3, 4 };
    const std::string path = writePng("one.png", 1, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, source);
    // DevIL hands a freed image name out again, so a leaked image shows as a new name.
    auto nextImageName = [] {
        ILuint probe = 0;
        ilGenImages(1, &probe);
        ilDeleteImages(1, &probe);
        return probe;
    };
    const ILuint before = nextImageName();
    std::unique_ptr<VornE::Ressource> loaded(loader.load(path));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(nextImageName(), before);
    {
        LogCapture quiet;
        EXPECT_EQ(loader.load(dir + "/missing.png"), nullptr);
    }
    EXPECT_EQ(nextImageName(), before);
    EXPECT_NO_GL_ERROR();
}

TEST_F(TextureLoader, RealWallAndFadeLogOnlyTheirCreationAndAreFreedFadeFirst)
{
    LogCapture capture;
    GLuint wallId = 0, fadeId = 0;
    {
        RessourceManager manager;
        ASSERT_TRUE(manager.load(loader, "./data/textures/wall.png")) << capture.err();
        const auto* wall = static_cast<const Texture2D*>(manager.get("./data/textures/wall.png"));
        ASSERT_NE(wall, nullptr);
        wallId = wall->id;
        EXPECT_EQ(capture.out(), createdLine(*wall));
        EXPECT_EQ(levelOf(*wall).internalFormat, 3); // an RGB image

        ASSERT_TRUE(manager.load(loader, "./data/textures/fade.png")) << capture.err();
        const auto* fade = static_cast<const Texture2D*>(manager.get("./data/textures/fade.png"));
        ASSERT_NE(fade, nullptr);
        fadeId = fade->id;
        EXPECT_EQ(levelOf(*fade).internalFormat, 4); // an RGBA image
        capture.clear();
    }
    EXPECT_EQ(capture.out(),
        "GL Texture with id: " + std::to_string(fadeId) + " deleted\nGL Texture with id: " + std::to_string(wallId)
            + " deleted\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_FALSE(glIsTexture(wallId));
    EXPECT_EQ(boundTexture(), 0);
    EXPECT_NO_GL_ERROR();
}
