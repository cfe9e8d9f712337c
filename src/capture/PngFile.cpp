#include "capture/PngFile.h"

#include "core/Quoted.h"

#include <IL/il.h>
#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <unistd.h>
#include <vector>

namespace {

void initialiseDevIL()
{
    static const bool initialised = [] {
        ilInit();
        return true;
    }();
    (void)initialised;
}

} // namespace

namespace {

// Where libpng's writes go, and the system's reason when one failed.
struct PngOutput {
    std::FILE* file;
    int error = 0;
};

void writeBytes(png_structp png, png_bytep bytes, png_size_t length)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    if (std::fwrite(bytes, 1, length, output->file) != length) {
        output->error = errno != 0 ? errno : EIO;
        png_error(png, "write");
    }
}

void flushBytes(png_structp png)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    if (std::fflush(output->file) != 0) {
        output->error = errno != 0 ? errno : EIO;
        png_error(png, "flush");
    }
}

// libpng's own would print "libpng error: Write Error", without the reason
// the system gave; the caller says it.
void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void quietWarning(png_structp, png_const_charp) { }

// libpng reports its errors by a long jump back to the setjmp here, so this
// function holds nothing with a destructor.
bool writeRows(PngOutput& output, png_uint_32 width, png_uint_32 height, png_bytepp rows, PngCompression compression)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &output, writeBytes, flushBytes);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
            PNG_FILTER_TYPE_DEFAULT);
        if (compression == PngCompression::Fast) {
            png_set_compression_level(png, 1);
            png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        } else {
            png_set_compression_level(png, 9);
        }
        png_set_rows(png, info, rows);
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

} // namespace

namespace {

bool saveInto(std::FILE* file, const RgbFrame& frame, const std::string& path, PngCompression compression)
{
    // The frame's rows run bottom-up; the file's top-down.
    std::vector<png_bytep> rows(static_cast<std::size_t>(std::max(frame.height, 0)));
    const auto row = static_cast<std::size_t>(std::max(frame.width, 0)) * 3u;
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(frame.rgb.data() + (rows.size() - 1 - y) * row);
    PngOutput output { file };
    errno = 0;
    bool saved = writeRows(output, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height),
        rows.data(), compression);
    // Whatever the stream still held is written at the close, which may fail
    // for the same reasons.
    if (std::fclose(file) != 0 && saved) {
        saved = false;
        output.error = errno != 0 ? errno : EIO;
    }
    if (!saved)
        std::cerr << "Could not write " << quoteForMessage(path)
                  << (output.error != 0 ? std::string(": ") + std::strerror(output.error) : std::string()) << std::endl;
    return saved;
}

} // namespace

bool savePng(const RgbFrame& frame, const std::string& path, PngCompression compression)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::cerr << "Could not write " << quoteForMessage(path) << ": " << std::strerror(errno) << "\n";
        return false;
    }
    return saveInto(file, frame, path, compression);
}

bool savePng(const RgbFrame& frame, int descriptor, const std::string& path, PngCompression compression)
{
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        std::cerr << "Could not write " << quoteForMessage(path) << ": " << std::strerror(errno) << "\n";
        close(descriptor);
        return false;
    }
    return saveInto(file, frame, path, compression);
}

RgbFrame loadPng(const std::string& path)
{
    initialiseDevIL();
    RgbFrame frame;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (ilLoadImage(path.c_str()) == IL_TRUE && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) == IL_TRUE) {
        frame.width = ilGetInteger(IL_IMAGE_WIDTH);
        frame.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const auto row = static_cast<std::size_t>(frame.width) * 3u;
        const unsigned char* data = ilGetData();
        frame.rgb.assign(data, data + row * static_cast<std::size_t>(frame.height));
        if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT)
            for (int y = 0; y < frame.height / 2; ++y)
                std::swap_ranges(frame.rgb.begin() + static_cast<long>(row) * y,
                    frame.rgb.begin() + static_cast<long>(row) * (y + 1),
                    frame.rgb.begin() + static_cast<long>(row) * (frame.height - 1 - y));
    }
    ilDeleteImages(1, &image);
    return frame;
}
