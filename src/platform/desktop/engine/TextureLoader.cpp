#include "engine/TextureLoader.h"

#include "core/FileKind.h"
#include "core/Logger.h"
#include "core/Resolution.h"
#include "gl/GLDialect.h"
#include "gl/Texture2D.h"

#include <IL/il.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

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

// DevIL's file reading, replaced for every load. DevIL's PNG reader ignores
// short reads: on a file cut short, libpng goes on parsing whatever its buffer
// held before and, inside an ancillary chunk, loops at the end of the file
// forever. Here a read past the end gives zeros, which no decoder takes for a
// valid chunk or stream, and is remembered so that the load fails as cut short
// even where a decoder would have made do.
struct GuardedFile {
    explicit GuardedFile(std::FILE* opened)
        : file(opened)
    {
    }
    ~GuardedFile()
    {
        if (file != nullptr)
            std::fclose(file);
    }
    GuardedFile(const GuardedFile&) = delete;
    GuardedFile& operator=(const GuardedFile&) = delete;

    std::FILE* file;
    bool cutShort = false;
};

// What DevIL opened during the load under way (it may open a file more than
// once, to guess its type). Loads run one at a time, on the GL thread.
std::vector<std::unique_ptr<GuardedFile>> openedFiles;

ILHANDLE ILAPIENTRY openGuarded(ILconst_string name)
{
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr)
        return nullptr;
    openedFiles.push_back(std::make_unique<GuardedFile>(file));
    return openedFiles.back().get();
}

GuardedFile& guarded(ILHANDLE handle)
{
    return *static_cast<GuardedFile*>(handle);
}

// The record stays until the load is over: its flag is read then.
void ILAPIENTRY closeGuarded(ILHANDLE handle)
{
    std::fclose(guarded(handle).file);
    guarded(handle).file = nullptr;
}

// True when DevIL read past the end of any file it opened for this load.
bool loadReadPastTheEnd()
{
    bool cutShort = false;
    for (const auto& file : openedFiles)
        cutShort = cutShort || file->cutShort;
    openedFiles.clear();
    return cutShort;
}

ILboolean ILAPIENTRY atEndGuarded(ILHANDLE handle)
{
    return std::feof(guarded(handle).file) != 0 ? IL_TRUE : IL_FALSE;
}

ILint ILAPIENTRY getcGuarded(ILHANDLE handle)
{
    const int c = std::fgetc(guarded(handle).file);
    if (c == EOF)
        guarded(handle).cutShort = true;
    return c;
}

ILint ILAPIENTRY readGuarded(void* buffer, ILuint size, ILuint count, ILHANDLE handle)
{
    const std::size_t got = std::fread(buffer, size, count, guarded(handle).file);
    if (got < count) {
        guarded(handle).cutShort = true;
        std::memset(static_cast<unsigned char*>(buffer) + got * size, 0, (count - got) * std::size_t { size });
    }
    return static_cast<ILint>(got);
}

ILint ILAPIENTRY seekGuarded(ILHANDLE handle, ILint offset, ILint origin)
{
    return std::fseek(guarded(handle).file, offset, origin);
}

ILint ILAPIENTRY tellGuarded(ILHANDLE handle)
{
    return static_cast<ILint>(std::ftell(guarded(handle).file));
}

std::uint32_t bigEndian32(const unsigned char* bytes)
{
    return (std::uint32_t { bytes[0] } << 24) | (std::uint32_t { bytes[1] } << 16) | (std::uint32_t { bytes[2] } << 8)
        | bytes[3];
}

// What a PNG's chunk structure says before any decoding: libpng allocates a
// chunk's declared length before it reads it, so a kilobyte whose chunk claims
// two gigabytes would cost two gigabytes; and DevIL allocates the declared
// image before decoding it. Empty when the file may go on to DevIL (which
// also takes files that are no PNG), else why not.
std::string pngStructureProblem(const std::string& name, std::uint32_t largestSide)
{
    std::ifstream file(name, std::ios::binary);
    unsigned char signature[8] = {};
    static const unsigned char png[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    if (!file.read(reinterpret_cast<char*>(signature), 8) || std::memcmp(signature, png, 8) != 0)
        return "";
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    std::uint64_t at = 8;
    for (;;) {
        unsigned char header[8];
        file.seekg(static_cast<std::streamoff>(at));
        if (!file.read(reinterpret_cast<char*>(header), 8))
            return ""; // a header cut short: the reader's guard says so
        const std::uint64_t length = bigEndian32(header);
        if (std::memcmp(header + 4, "IEND", 4) == 0)
            return "";
        if (length > 0x7fffffffu || at + 8 + length + 4 > size)
            return "the file is cut short";
        if (std::memcmp(header + 4, "IHDR", 4) == 0 && length >= 8) {
            unsigned char sides[8];
            file.read(reinterpret_cast<char*>(sides), 8);
            if (bigEndian32(sides) > largestSide || bigEndian32(sides + 4) > largestSide)
                return "the image is larger than the GL takes (" + std::to_string(largestSide) + " pixels a side)";
        }
        at += 8 + length + 4;
    }
}

// One piece each: at level Error the console ends every piece with a line end.
void logFailure(const std::string& name)
{
    log(Error, "Error while loading '" + name + "'");
}

void logFailure(const std::string& name, const std::string& reason)
{
    log(Error, "Error while loading '" + name + "' : " + reason);
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
    if (const std::string kind = nonRegularKind(name); !kind.empty()) {
        logFailure(name, "it is " + kind + ", not an image file");
        return nullptr;
    }
    GLint largestSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
    const std::string problem = pngStructureProblem(name, static_cast<std::uint32_t>(std::max(largestSide, 1)));
    if (!problem.empty()) {
        logFailure(name, problem);
        return nullptr;
    }
    const BoundImage image;
    // Set for every load: an ilInit elsewhere (a PNG writer's) puts DevIL's own back.
    ilSetRead(openGuarded, closeGuarded, atEndGuarded, getcGuarded, readGuarded, seekGuarded, tellGuarded);
    openedFiles.clear();
    while (ilGetError() != IL_NO_ERROR) { } // so that a failure below reads this load's own error
    const bool decoded = ilLoadImage(name.c_str()) == IL_TRUE;
    const ILenum error = decoded ? IL_NO_ERROR : ilGetError();
    // Guessing the type of a file that is no image reads past the end of a
    // short one: that file is not cut short, only unknown.
    if (loadReadPastTheEnd() && error != IL_INVALID_EXTENSION) {
        logFailure(name, "the file is cut short");
        return nullptr;
    }
    if (!decoded) {
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
    if (ilGetInteger(IL_IMAGE_BPC) != 1 || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE) {
        logFailure(name, "not 8 bits per channel");
        return nullptr;
    }
    if (bytesPerPixel(format) == 0 || bytesPerPixel(format) != bytes) {
        logFailure(name, "pixel format not supported");
        return nullptr;
    }

    // The bytes-per-pixel count doubles as GL's unsized internal format (its
    // component count). The loader interface hands the new texture to its
    // caller as a raw pointer, which RessourceManager::load owns at once.
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory)
    Texture2D* texture = new (std::nothrow)
        Texture2D(GLDialect::internalFormat(static_cast<GLint>(bytes), static_cast<GLenum>(format)), size,
            static_cast<GLenum>(format), static_cast<const void*>(pixels));
    if (texture == nullptr) {
        log(Error, "Fail to allocate memory for Texture\n");
    }
    return texture;
}

} // namespace VornE
