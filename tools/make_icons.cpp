// Writes the desktop icons, SIZExSIZE/apps/lumaroll.png under a hicolor
// folder, from one frame of the demo: a square cut from the frame, shrunk to
// each size by averaging the area every icon pixel covers.
//
//   make_icons FRAME.png LEFT TOP SIDE HICOLOR_DIR
//
// Averaging happens in linear light: averaging sRGB values directly darkens
// every edge between a bright cube and the dark room, and at 16 px the cross
// is little else but such edges.

#include <png.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

const std::array<int, 6> iconSizes = { 16, 32, 48, 64, 128, 256 };

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<double> rgb; // linear light, 0 to 1, rows top-down
};

double toLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// The 8-bit sRGB values' linear levels, and the levels half way between
// neighbours: encoding is a search between them, so that a value decoded and
// encoded again comes back unchanged whatever pow's last bit does.
struct SrgbTable {
    std::array<double, 256> level {};
    std::array<double, 255> between {};
    SrgbTable()
    {
        for (int v = 0; v < 256; ++v)
            level[static_cast<std::size_t>(v)] = toLinear(v / 255.0);
        for (int v = 0; v < 255; ++v)
            between[static_cast<std::size_t>(v)] = toLinear((v + 0.5) / 255.0);
    }
    std::uint8_t encode(double linear) const
    {
        std::size_t low = 0, high = between.size();
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (linear < between[middle])
                high = middle;
            else
                low = middle + 1;
        }
        return static_cast<std::uint8_t>(low);
    }
};

const SrgbTable srgb;

bool readPicture(const std::string& path, Picture& picture)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        std::cerr << "make_icons: cannot read '" << path << "': " << image.message << "\n";
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        std::cerr << "make_icons: cannot decode '" << path << "': " << image.message << "\n";
        png_image_free(&image);
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        picture.rgb[i] = srgb.level[bytes[i]];
    return true;
}

// The square of SIDE pixels at (left, top) shrunk to size x size. Output pixel
// i spans source columns [i * side / size, (i + 1) * side / size); measured in
// 1/size of a source pixel every overlap is a whole number, so each pixel's
// weights are exact and add up to side.
std::vector<double> shrink(const Picture& source, int left, int top, int side, int size)
{
    struct Tap {
        int offset;
        double weight;
    };
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        const long begin = static_cast<long>(i) * side, end = static_cast<long>(i + 1) * side;
        for (long k = begin / size; k * size < end; ++k) {
            const long overlap = std::min(end, (k + 1) * size) - std::max(begin, k * size);
            if (overlap > 0)
                taps[static_cast<std::size_t>(i)].push_back(
                    { static_cast<int>(k), static_cast<double>(overlap) / side });
        }
    }

    // Rows first: side rows of size pixels, then the columns of those.
    std::vector<double> rows(static_cast<std::size_t>(side) * size * 3, 0.0);
    for (int y = 0; y < side; ++y) {
        const double* in = &source.rgb[(static_cast<std::size_t>(top + y) * source.width + left) * 3];
        double* out = &rows[static_cast<std::size_t>(y) * size * 3];
        for (int x = 0; x < size; ++x)
            for (const Tap& tap : taps[static_cast<std::size_t>(x)])
                for (int c = 0; c < 3; ++c)
                    out[x * 3 + c] += tap.weight * in[tap.offset * 3 + c];
    }
    std::vector<double> icon(static_cast<std::size_t>(size) * size * 3, 0.0);
    for (int y = 0; y < size; ++y)
        for (const Tap& tap : taps[static_cast<std::size_t>(y)]) {
            const double* in = &rows[static_cast<std::size_t>(tap.offset) * size * 3];
            double* out = &icon[static_cast<std::size_t>(y) * size * 3];
            for (int i = 0; i < size * 3; ++i)
                out[i] += tap.weight * in[i];
        }
    return icon;
}

// Written beside its final name and moved over it, so that a failure leaves
// the committed icon as it was.
bool writeIcon(const std::filesystem::path& path, const std::vector<double>& icon, int size)
{
    std::vector<std::uint8_t> bytes(icon.size());
    for (std::size_t i = 0; i < icon.size(); ++i)
        bytes[i] = srgb.encode(icon[i]);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGB;

    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const std::filesystem::path partial = path.string() + ".partial";
    if (png_image_write_to_file(&image, partial.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
        std::cerr << "make_icons: cannot write '" << partial.string() << "': " << image.message << "\n";
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        std::cerr << "make_icons: cannot move '" << partial.string() << "' over '" << path.string() << "'\n";
        return false;
    }
    return true;
}

bool wholeNumber(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || parsed < 0 || parsed > 1 << 20)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int left = 0, top = 0, side = 0;
    if (argc != 6 || !wholeNumber(argv[2], left) || !wholeNumber(argv[3], top) || !wholeNumber(argv[4], side)) {
        std::cerr << "usage: make_icons FRAME.png LEFT TOP SIDE HICOLOR_DIR\n";
        return 2;
    }
    Picture frame;
    if (!readPicture(argv[1], frame))
        return 1;
    // Smaller than the largest icon, the cut would have to be enlarged: blurred,
    // not averaged.
    if (side < iconSizes.back() || left + side > frame.width || top + side > frame.height) {
        std::cerr << "make_icons: a square of " << side << " px at (" << left << ", " << top << ") does not fit a "
                  << frame.width << "x" << frame.height << " frame, or is smaller than " << iconSizes.back() << " px\n";
        return 2;
    }
    const std::filesystem::path root = argv[5];
    for (int size : iconSizes) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        if (!writeIcon(root / folder / "apps" / "lumaroll.png", shrink(frame, left, top, side, size), size))
            return 1;
    }
    return 0;
}
