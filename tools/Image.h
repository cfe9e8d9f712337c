#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A linear colour with straight (not premultiplied) alpha, each channel 0..1.
struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

Rgba mix(const Rgba& from, const Rgba& to, float t);
Rgba scaled(const Rgba& colour, float factor); // scales r, g, b; keeps alpha

// A float canvas that the painters draw into and that is quantised to 8 bits
// per channel only when saved. Row 0 is the top row of the written file.
class Image {
public:
    Image(int width, int height, int channels); // channels: 3 (RGB) or 4 (RGBA)

    int width() const { return w; }
    int height() const { return h; }
    int channels() const { return ch; }

    Rgba get(int x, int y) const;
    void set(int x, int y, const Rgba& colour);
    // "Over" compositing of colour with coverage alpha * colour.a.
    void blend(int x, int y, const Rgba& colour, float alpha);
    void fill(const Rgba& colour);

    // The bytes DevIL receives: rows top to bottom, channels interleaved.
    std::vector<std::uint8_t> bytes() const;

    // Writes a PNG through DevIL; false (with a message on stderr) on failure.
    // DevIL must have been initialised with ilInit.
    bool savePng(const std::string& path) const;

private:
    int w;
    int h;
    int ch;
    std::vector<float> pixels;
};
