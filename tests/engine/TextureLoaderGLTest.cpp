#include "engine/TextureLoader.h"
#include "gl/GLTestHelpers.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

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
        freeName = nextImageName();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(dir);
        EXPECT_EQ(nextImageName(), freeName) << "a DevIL image was not freed";
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
        EXPECT_NO_GL_ERROR();
    }

    // Writes a PNG with DevIL (initialised by the loader) and returns its path.
    std::string writePng(
        const std::string& file, ILuint width, ILubyte channels, ILenum format, ILenum type, const void* data)
    {
        const std::string path = dir + "/" + file;
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        EXPECT_TRUE(ilTexImage(width, 2, 1, channels, format, type, const_cast<void*>(data)));
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
    ILuint freeName = 0;
};

} // namespace

// 5 pixels a row: 15-byte RGB rows and 5-byte grey rows that a 4-byte row
// stride would shear. The two rows are alike, so DevIL's row order does not matter.
TEST_F(TextureLoader, EachImageFormatPassesThroughWithItsComponentCountAndUnshiftedRows)
{
    for (const auto& [channels, format] : { std::pair { 3, IL_RGB }, { 4, IL_RGBA }, { 1, IL_LUMINANCE } }) {
        SCOPED_TRACE(channels);
        std::vector<unsigned char> source(5 * 2 * static_cast<std::size_t>(channels));
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<unsigned char>(i % (source.size() / 2) * 5 + 1);
        const std::string path = writePng(
            "image" + std::to_string(channels) + ".png", 5, ILubyte(channels), format, IL_UNSIGNED_BYTE, source.data());
        LogCapture capture;
        std::unique_ptr<VornE::Ressource> ressource(loader.load(path));
        ASSERT_NE(ressource, nullptr) << capture.err();
        const Texture2D& texture = static_cast<const Texture2D&>(*ressource);
        GLint internalFormat = -1;
        std::vector<unsigned char> back(source.size());
        texture.bind();
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, static_cast<GLenum>(format), GL_UNSIGNED_BYTE, back.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        texture.unbind();
        EXPECT_EQ(internalFormat, channels);
        EXPECT_EQ(back, source);
    }
}

TEST_F(TextureLoader, UnreadableUnsupportedOrCutImageGivesNullAndNoTextureInsteadOfHanging)
{
    const unsigned char indexed[5 * 2] = {};
    const unsigned short deep[5 * 2 * 3] = {};
    // A real image whose header claims 100000 pixels on one side only.
    std::ifstream source("./data/textures/fade.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    auto oneSideTooLarge = [&](const std::string& file, std::size_t sideAt) {
        std::string patched = bytes;
        patched.replace(sideAt, 4, std::string("\0\x01\x86\xa0", 4));
        std::ofstream(dir + "/" + file, std::ios::binary) << patched;
        return dir + "/" + file;
    };
    const std::string tooLarge = "the image is larger than the GL takes ("
        + std::to_string(glInteger(GL_MAX_TEXTURE_SIZE)) + " pixels a side)";
    const std::pair<std::string, std::string> cases[] = {
        { oneSideTooLarge("wide.png", 16), tooLarge },
        { oneSideTooLarge("tall.png", 20), tooLarge },
        { std::string(LUMAROLL_SOURCE_DIR) + "/tests/engine/images/not_an_image.txt", "" },
        { writePng("indexed.png", 5, 1, IL_COLOUR_INDEX, IL_UNSIGNED_BYTE, indexed), "pixel format not supported" },
        { writePng("deep.png", 5, 3, IL_RGB, IL_UNSIGNED_SHORT, deep), "not 8 bits per channel" },
    };
    for (const auto& [path, reason] : cases) {
        LogCapture capture;
        EXPECT_EQ(std::unique_ptr<VornE::Ressource>(loader.load(path)), nullptr);
        EXPECT_EQ(
            capture.err(), "Error while loading '" + path + "'" + (reason.empty() ? "\n" : " : " + reason + "\n"));
        EXPECT_EQ(capture.out(), ""); // no "GL Texture ID created" line: no GL texture was made
    }

    // DevIL's PNG reader ignores short reads, and libpng looped for ever on a
    // file cut inside an ancillary chunk. Every cut of a real image must fail
    // and say why; only a cut inside the 12-byte end chunk, after the last
    // pixel, loads.
    const std::string path = dir + "/cut.png";
    std::vector<std::size_t> loaded, unexplained, insideEndChunk;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(length));
        LogCapture capture;
        if (std::unique_ptr<VornE::Ressource>(loader.load(path)) != nullptr)
            loaded.push_back(length);
        else if (capture.err() != "Error while loading '" + path + "' : the file is cut short\n")
            unexplained.push_back(length);
        if (length >= bytes.size() - 12)
            insideEndChunk.push_back(length);
    }
    EXPECT_EQ(loaded, insideEndChunk);
    EXPECT_EQ(unexplained, std::vector<std::size_t> {});
}
