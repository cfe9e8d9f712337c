// Loads the committed images with DevIL exactly as the demo's texture loader
// does (no origin or conversion settings) and checks what the demo depends on:
// the wall is a large 24-bit RGB image that tiles without a seam, the strips
// are tall 32-bit RGBA images whose alpha lets the picture through in places,
// and the test card and fade image take the RGB and RGBA upload paths.

#include <IL/il.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void expect(bool condition, const std::string& what)
{
    if (!condition) {
        std::cerr << "FAILED: " << what << "\n";
        ++failures;
    }
}

struct Loaded {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    int format = 0;
    std::vector<unsigned char> data;

    int at(int x, int y, int channel) const
    {
        return data[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x))
                * static_cast<std::size_t>(bytesPerPixel)
            + static_cast<std::size_t>(channel)];
    }
};

bool load(const std::filesystem::path& path, Loaded& image)
{
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    const bool ok = ilLoadImage(path.string().c_str()) == IL_TRUE;
    if (ok) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        image.bytesPerPixel = ilGetInteger(IL_IMAGE_BPP);
        image.format = ilGetInteger(IL_IMAGE_FORMAT);
        const ILubyte* pixels = ilGetData();
        image.data.assign(pixels,
            pixels
                + static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)
                    * static_cast<std::size_t>(image.bytesPerPixel));
    }
    ilDeleteImages(1, &name);
    expect(ok, "DevIL loads " + path.string());
    return ok;
}

int difference(const Loaded& image, int x0, int y0, int x1, int y1)
{
    int sum = 0;
    for (int c = 0; c < 3; ++c)
        sum += std::abs(image.at(x0, y0, c) - image.at(x1, y1, c));
    return sum;
}

// The step across the wrap-around seam must look like any other step between
// neighbouring pixels; a texture that does not tile shows a jump there.
void checkSeamless(const Loaded& wall)
{
    double inside = 0.0, seamX = 0.0, seamY = 0.0;
    for (int y = 0; y < wall.height; ++y) {
        for (int x = 0; x + 1 < wall.width; ++x)
            inside += difference(wall, x, y, x + 1, y);
        seamX += difference(wall, wall.width - 1, y, 0, y);
    }
    for (int x = 0; x < wall.width; ++x)
        seamY += difference(wall, x, wall.height - 1, x, 0);
    inside /= static_cast<double>(wall.height) * (wall.width - 1);
    seamX /= wall.height;
    seamY /= wall.width;
    expect(seamX <= inside * 1.5,
        "wall tiles left to right (seam step " + std::to_string(seamX) + " vs " + std::to_string(inside) + ")");
    expect(seamY <= inside * 1.5,
        "wall tiles top to bottom (seam step " + std::to_string(seamY) + " vs " + std::to_string(inside) + ")");

    // Walls of the room meet edge to edge in every orientation, so all four
    // borders must look alike, not only opposite ones.
    double border[4] = { 0, 0, 0, 0 };
    for (int i = 0; i < wall.width; ++i) {
        for (int c = 0; c < 3; ++c) {
            border[0] += wall.at(i, 0, c);
            border[1] += wall.at(i, wall.height - 1, c);
            border[2] += wall.at(0, i, c);
            border[3] += wall.at(wall.width - 1, i, c);
        }
    }
    for (double& b : border)
        b /= 3.0 * wall.width;
    for (int k = 1; k < 4; ++k)
        expect(std::fabs(border[k] - border[0]) < 6.0, "wall borders match in brightness");
}

void checkWall(const std::filesystem::path& dir)
{
    Loaded wall;
    if (!load(dir / "wall.png", wall))
        return;
    expect(wall.format == IL_RGB && wall.bytesPerPixel == 3, "wall.png is 24-bit RGB");
    expect(wall.width >= 1024 && wall.width == wall.height, "wall.png is square, 1024 or larger");
    expect(std::filesystem::file_size(dir / "wall.png") < 2u * 1024u * 1024u, "wall.png stays under 2 MB");
    if (wall.bytesPerPixel != 3)
        return;
    double mean = 0.0;
    for (unsigned char v : wall.data)
        mean += v;
    mean /= static_cast<double>(wall.data.size());
    expect(mean > 50.0 && mean < 140.0, "wall.png is mid-dark (mean " + std::to_string(mean) + ")");
    checkSeamless(wall);
}

void checkStrip(const std::filesystem::path& path)
{
    Loaded strip;
    if (!load(path, strip))
        return;
    expect(strip.format == IL_RGBA && strip.bytesPerPixel == 4, path.filename().string() + " is 32-bit RGBA");
    expect(strip.height >= 4 * strip.width, path.filename().string() + " is a tall strip");
    if (strip.bytesPerPixel != 4)
        return;
    std::size_t clear = 0, solid = 0;
    const std::size_t count = static_cast<std::size_t>(strip.width) * static_cast<std::size_t>(strip.height);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char alpha = strip.data[i * 4 + 3];
        clear += alpha < 100 ? 1 : 0;
        solid += alpha > 180 ? 1 : 0;
    }
    expect(clear > count / 10 && solid > count / 20, path.filename().string() + " mixes see-through and opaque areas");
}

void checkFormat(const std::filesystem::path& path, int format, int bytesPerPixel)
{
    Loaded image;
    if (load(path, image))
        expect(image.format == format && image.bytesPerPixel == bytesPerPixel,
            path.filename().string() + " has the expected pixel format");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: check_textures <data/textures directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    ilInit();
    checkWall(dir);
    for (const char* name : { "rect1.png", "rect2.png", "rect3.png" })
        checkStrip(dir / name);
    checkFormat(dir / "test.png", IL_RGB, 3);
    checkFormat(dir / "fade.png", IL_RGBA, 4);
    if (failures == 0)
        std::cout << "textures suit their upload paths and uses\n";
    return failures == 0 ? 0 : 1;
}
