#include "Image.h"

#include <IL/il.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <stdexcept>

Rgba mix(const Rgba& from, const Rgba& to, float t)
{
    return { from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
        from.a + (to.a - from.a) * t };
}

Rgba scaled(const Rgba& colour, float factor)
{
    return { colour.r * factor, colour.g * factor, colour.b * factor, colour.a };
}

Image::Image(int width, int height, int channels)
    : w(width)
    , h(height)
    , ch(channels)
{
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4))
        throw std::invalid_argument("Image: bad size or channel count");
    pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4u, 0.0f);
    fill({ 0.0f, 0.0f, 0.0f, 1.0f });
}

Rgba Image::get(int x, int y) const
{
    const float* p
        = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4u];
    return { p[0], p[1], p[2], p[3] };
}

void Image::set(int x, int y, const Rgba& colour)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    float* p = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4u];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
    p[3] = colour.a;
}

void Image::blend(int x, int y, const Rgba& colour, float alpha)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    const float a = std::clamp(alpha * colour.a, 0.0f, 1.0f);
    if (a <= 0.0f)
        return;
    const Rgba below = get(x, y);
    const float outA = a + below.a * (1.0f - a);
    if (outA <= 0.0f) {
        set(x, y, { 0.0f, 0.0f, 0.0f, 0.0f });
        return;
    }
    auto channel = [&](float top, float bottom) { return (top * a + bottom * below.a * (1.0f - a)) / outA; };
    set(x, y, { channel(colour.r, below.r), channel(colour.g, below.g), channel(colour.b, below.b), outA });
}

void Image::fill(const Rgba& colour)
{
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            set(x, y, colour);
    }
}

static std::uint8_t quantise(float value)
{
    // Clamp before converting: a float outside 0..255 converted to an unsigned type is undefined.
    const float v = std::clamp(value, 0.0f, 1.0f) * 255.0f;
    return static_cast<std::uint8_t>(std::lround(v));
}

std::vector<std::uint8_t> Image::bytes() const
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * static_cast<std::size_t>(ch));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba p = get(x, y);
            out.push_back(quantise(p.r));
            out.push_back(quantise(p.g));
            out.push_back(quantise(p.b));
            if (ch == 4)
                out.push_back(quantise(p.a));
        }
    }
    return out;
}

bool Image::savePng(const std::string& path) const
{
    std::vector<std::uint8_t> data = bytes();
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    const ILenum format = ch == 4 ? IL_RGBA : IL_RGB;
    bool ok = ilTexImage(static_cast<ILuint>(w), static_cast<ILuint>(h), 1, static_cast<ILubyte>(ch), format,
                  IL_UNSIGNED_BYTE, data.data())
        == IL_TRUE;
    // ilTexImage marks new data as bottom-up and the PNG writer would flip it;
    // our rows are top-down, so the file keeps them in the order painted.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, path.c_str()) == IL_TRUE;
    if (!ok)
        std::cerr << "Could not write '" << path << "' (DevIL error " << ilGetError() << ")\n";
    ilDeleteImages(1, &name);
    return ok;
}
