// The web page's image decoder: stb_image in place of DevIL, which has no
// WebAssembly build. The same contract as the desktop's loader
// (engine/TextureLoader.h): pixels uploaded unchanged, a failed load logged
// with the path and creating no texture.

#include "engine/TextureLoader.h"

#include "core/FileKind.h"
#include "core/Logger.h"
#include "core/Resolution.h"
#include "gl/GLDialect.h"
#include "gl/Texture2D.h"

#include <memory>
#include <new>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace VornE {

namespace {

struct ImageFree {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

void logFailure(const std::string& name, const std::string& reason)
{
    log(Error, "Error while loading '" + name + "' : " + reason);
}

GLenum pixelFormat(int components)
{
    switch (components) {
    case 1:
        return GL_LUMINANCE;
    case 2:
        return GL_LUMINANCE_ALPHA;
    case 3:
        return GL_RGB;
    default:
        return GL_RGBA;
    }
}

// stb_image's reason in the desktop loader's words where they say the same:
// a PNG that ends before its data does gives "outofdata", or no reason at
// all when its compressed data stops part-way.
std::string failureReason()
{
    const char* reason = stbi_failure_reason();
    if (reason == nullptr || reason[0] == '\0' || std::string(reason) == "outofdata")
        return "the file is cut short";
    return reason;
}

} // namespace

TextureLoader::TextureLoader() = default;

Ressource* TextureLoader::load(const std::string& name)
{
    if (const std::string kind = nonRegularKind(name); !kind.empty()) {
        logFailure(name, "it is " + kind + ", not an image file");
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int components = 0;
    if (stbi_info(name.c_str(), &width, &height, &components) == 0) {
        logFailure(name, failureReason());
        return nullptr;
    }
    if (stbi_is_16_bit(name.c_str()) != 0) {
        logFailure(name, "not 8 bits per channel");
        return nullptr;
    }
    GLint largestSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
    if (width > largestSide || height > largestSide) {
        logFailure(name, "the image is larger than the GL takes (" + std::to_string(largestSide) + " pixels a side)");
        return nullptr;
    }
    const std::unique_ptr<unsigned char, ImageFree> pixels(stbi_load(name.c_str(), &width, &height, &components, 0));
    if (!pixels || width <= 0 || height <= 0 || components < 1 || components > 4) {
        logFailure(name, pixels ? "pixel format not supported" : failureReason());
        return nullptr;
    }
    const GLenum format = pixelFormat(components);
    const Resolution size { static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height) };
    Texture2D* texture
        = new (std::nothrow) Texture2D(GLDialect::internalFormat(components, format), size, format, pixels.get());
    if (texture == nullptr)
        log(Error, "Fail to allocate memory for Texture\n");
    return texture;
}

} // namespace VornE
