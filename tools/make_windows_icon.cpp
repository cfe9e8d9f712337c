// Packs the desktop icons (PNG files, one a size) into the Windows program's
// icon, an ICO file whose every image is a PNG as it stands, as Windows has
// taken since Vista: make_windows_icon OUT.ico PNG...
//
// ICO: a 6-byte header (0, type 1, the count), a 16-byte entry an image
// (width and height, 0 meaning 256; colours 0; planes 1; 32 bits a pixel;
// the image's size and where it starts), then the images.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void little16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void little32(std::string& out, std::uint32_t value)
{
    little16(out, value & 0xffff);
    little16(out, value >> 16);
}

std::uint32_t big32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_windows_icon OUT.ico PNG...\n");
        return 2;
    }
    std::vector<std::string> images;
    std::string entries;
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(argc - 2);
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        std::string png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // The signature, then IHDR's length and name, then its width and height.
        if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) {
            std::fprintf(stderr, "make_windows_icon: %s is not a PNG file\n", argv[i]);
            return 1;
        }
        const std::uint32_t width = big32(png, 16);
        const std::uint32_t height = big32(png, 20);
        if (width == 0 || width > 256 || height == 0 || height > 256) {
            std::fprintf(
                stderr, "make_windows_icon: %s is %ux%u; an icon is 1 to 256 a side\n", argv[i], width, height);
            return 1;
        }
        entries += static_cast<char>(width & 0xff); // 256 is written 0
        entries += static_cast<char>(height & 0xff);
        entries += '\0'; // no palette
        entries += '\0';
        little16(entries, 1); // planes
        little16(entries, 32); // bits a pixel
        little32(entries, static_cast<std::uint32_t>(png.size()));
        little32(entries, offset);
        offset += static_cast<std::uint32_t>(png.size());
        images.push_back(std::move(png));
    }
    std::string icon;
    little16(icon, 0);
    little16(icon, 1);
    little16(icon, static_cast<std::uint32_t>(images.size()));
    icon += entries;
    for (const std::string& image : images)
        icon += image;
    std::ofstream out(argv[1], std::ios::binary);
    out << icon;
    if (!out.flush()) {
        std::fprintf(stderr, "make_windows_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
