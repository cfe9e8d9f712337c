#include "engine/TextureLoader.h"

#include "engine/Logger.h"
#include "engine/Resolution.h"
#include "gl/Texture2D.h"

#include <IL/il.h>

#include <new>

namespace VornE {

namespace {

// One DevIL image, generated and bound for the length of a load and deleted on
// every way out, the throwing upload included. DevIL has copied the pixels to
// GL by then, so nothing keeps the decoded image alive.
class BoundImage {
public:
    BoundImage()
    {
        ilGenImages(1, &image);
        ilBindImage(image);
    }
    ~BoundImage() { ilDeleteImages(1, &image); }
    BoundImage(const BoundImage&) = delete;
    BoundImage& operator=(const BoundImage&) = delete;

private:
    ILuint image = 0;
};

void logFailure(const std::string& name)
{
    logger->level = Error;
    *logger << "Error while loading '" << name << "'\n";
}

void logFailure(const std::string& name, const char* reason)
{
    logger->level = Error;
    *logger << "Error while loading '" << name << "' : " << reason << "\n";
}

// The bytes per pixel GL reads for a DevIL format passed straight through as a
// GL pixel format (their values are the same), or 0 for a format GL would not
// read this way, such as colour-indexed images.
int bytesPerPixel(ILint format)
{
    switch (format) {
    case IL_RGB:
    case IL_BGR:
        return 3;
    case IL_RGBA:
    case IL_BGRA:
        return 4;
    case IL_LUMINANCE:
        return 1;
    case IL_LUMINANCE_ALPHA:
        return 2;
    default:
        return 0;
    }
}

int positive(ILint value)
{
    return value > 0 ? value : 0;
}

} // namespace

TextureLoader::TextureLoader()
{
    ilInit();
}

Ressource* TextureLoader::load(const std::string& name)
{
    const BoundImage image;
    if (!ilLoadImage(name.c_str())) {
        logFailure(name);
        return nullptr;
    }

    const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    const Resolution size { static_cast<std::uint32_t>(positive(width)), static_cast<std::uint32_t>(positive(height)) };
    const ILubyte* const pixels = ilGetData();
    const ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    const ILint bytes = ilGetInteger(IL_IMAGE_BPP);

    // The upload reads unsigned bytes in `format`; anything else would reach
    // GL as garbage or be read past its end. DevIL reports some 16-bit images
    // with one byte per channel but a short type, so both are checked.
    // Pinned by TextureLoader.UnreadableOrUnsupportedImageGivesNullNoTextureAndFreesItsImage.
    if (ilGetInteger(IL_IMAGE_BPC) != 1 || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE) {
        logFailure(name, "not 8 bits per channel");
        return nullptr;
    }
    if (bytesPerPixel(format) == 0 || bytesPerPixel(format) != bytes) {
        logFailure(name, "pixel format not supported");
        return nullptr;
    }

    // The bytes-per-pixel count doubles as GL's unsized internal format (its
    // component count).
    Texture2D* texture = new (std::nothrow)
        Texture2D(static_cast<GLint>(bytes), size, static_cast<GLenum>(format), static_cast<const void*>(pixels));
    if (texture == nullptr) {
        logger->level = Error;
        *logger << "Fail to allocate memory for Texture\n";
    }
    return texture;
}

} // namespace VornE
