#include "engine/TextureLoader.h"
#include "gl/GLTestHelpers.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

GLint levelParameter(const Texture& texture, GLenum what)
{
    GLint value = -1;
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
    texture.unbind();
    return value;
}

// The texture's level 0 read back in `format`, rows tightly packed.
std::vector<unsigned char> pixelsOf(const Texture& texture, GLenum format, std::size_t bytes)
{
    std::vector<unsigned char> pixels(bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    texture.unbind();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

// DevIL hands a freed image name out again, so a leaked image shows as a new name.
ILuint nextImageName()
{
    ILuint probe = 0;
    ilGenImages(1, &probe);
    ilDeleteImages(1, &probe);
    return probe;
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
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
        EXPECT_NO_GL_ERROR();
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

    VornE::TextureLoader loader;
    std::string dir;
};

} // namespace

TEST_F(TextureLoader, EachImageFormatPassesThroughWithItsComponentCountAndUnshiftedRowsAndFreesItsImage)
{
    struct Case {
        std::string file;
        ILubyte channels;
        ILenum format; // also the GL pixel format the texture is read back in
        GLint internalFormat;
    };
    // 5 pixels a row: 15-byte RGB rows and 5-byte grey rows that a 4-byte row
    // stride would shear. Rows are alike, so DevIL's choice of row order does not matter.
    const ILuint width = 5, height = 3;
    const ILuint freeName = nextImageName();
    for (const Case& c :
        { Case { "rgb.png", 3, IL_RGB, 3 }, Case { "rgba.png", 4, IL_RGBA, 4 }, Case { "grey.png", 1, IL_LUMINANCE, 1 },
            Case { "./data/textures/wall.png", 3, IL_RGB, 3 }, Case { "./data/textures/fade.png", 4, IL_RGBA, 4 } }) {
        SCOPED_TRACE(c.file);
        const bool generated = c.file[0] != '.';
        std::vector<unsigned char> source(width * height * c.channels);
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<unsigned char>(i % (width * c.channels) * 5 + 1);
        const std::string path = generated
            ? writePng(c.file, width, height, c.channels, c.format, IL_UNSIGNED_BYTE, source.data())
            : c.file;

        LogCapture capture;
        std::unique_ptr<VornE::Ressource> ressource(loader.load(path));
        ASSERT_NE(ressource, nullptr) << capture.err();
        const Texture2D& texture = static_cast<const Texture2D&>(*ressource);
        EXPECT_EQ(capture.out(), "GL Texture ID created: " + std::to_string(texture.id) + "\n");
        EXPECT_EQ(capture.err(), "");
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), c.internalFormat);
        EXPECT_EQ(nextImageName(), freeName);
        if (!generated)
            continue;
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_WIDTH), static_cast<GLint>(width));
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_HEIGHT), static_cast<GLint>(height));
        EXPECT_EQ(pixelsOf(texture, c.format, source.size()), source);
    }
}

TEST_F(TextureLoader, UnreadableOrUnsupportedImageGivesNullNoTextureAndFreesItsImage)
{
    const unsigned char indexed[2 * 2] = { 0, 1, 2, 3 };
    const unsigned short deep[2 * 2 * 3] = { 0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000 };
    const std::pair<std::string, std::string> cases[] = {
        { dir + "/no_such_image.png", "" },
        { std::string(LUMAROLL_SOURCE_DIR) + "/tests/engine/images/not_an_image.txt", "" },
        { writePng("indexed.png", 2, 2, 1, IL_COLOUR_INDEX, IL_UNSIGNED_BYTE, indexed), "pixel format not supported" },
        { writePng("deep.png", 2, 2, 3, IL_RGB, IL_UNSIGNED_SHORT, deep), "not 8 bits per channel" },
    };
    const ILuint freeName = nextImageName();
    for (const auto& [path, reason] : cases) {
        LogCapture capture;
        EXPECT_EQ(std::unique_ptr<VornE::Ressource>(loader.load(path)), nullptr);
        EXPECT_EQ(capture.err(),
            "Error while loading '\n" + path + "\n'" + (reason.empty() ? "\n\n" : " : \n" + reason + "\n\n\n"));
        EXPECT_EQ(capture.out(), ""); // no "GL Texture ID created" line: no GL texture was made
        EXPECT_EQ(nextImageName(), freeName) << path;
    }
}

// DevIL's PNG reader ignores short reads, and libpng used to loop for ever at
// the end of a file cut inside an ancillary chunk. Every cut of a real image,
// from the empty file through the signature, the header, the text chunks and
// the image data, must fail and say why. Only a cut inside the 12-byte end
// chunk, after the last pixel, still loads.
TEST_F(TextureLoader, FileCutShortAnywhereFailsInsteadOfHanging)
{
    std::ifstream source("./data/textures/fade.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 900u);
    const std::string path = dir + "/cut.png";
    const ILuint freeName = nextImageName();
    std::vector<std::size_t> loaded, unexplained;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(length));
        LogCapture capture;
        if (std::unique_ptr<VornE::Ressource>(loader.load(path)) != nullptr)
            loaded.push_back(length);
        else if (capture.err() != "Error while loading '\n" + path + "\n' : \nthe file is cut short\n\n\n")
            unexplained.push_back(length);
    }
    std::vector<std::size_t> insideEndChunk;
    for (std::size_t length = bytes.size() - 12; length < bytes.size(); ++length)
        insideEndChunk.push_back(length);
    EXPECT_EQ(loaded, insideEndChunk);
    EXPECT_EQ(unexplained, std::vector<std::size_t> {});
    EXPECT_EQ(nextImageName(), freeName);
}
