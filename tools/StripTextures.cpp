#include "Textures.h"

#include "Noise.h"
#include "Random.h"
#include "Shapes.h"

#include <cmath>
#include <stdexcept>
#include <vector>

// The strips flash over a dark orange and black picture, so their accents are
// the cold complements (cyan, white, violet, magenta), and their alpha varies so
// the scene keeps showing through.

namespace {

constexpr int stripWidth = 128;
constexpr int stripHeight = 1024;

const Rgba cyan { 0.35f, 0.95f, 1.0f, 1.0f };
const Rgba ice { 0.85f, 0.97f, 1.0f, 1.0f };
const Rgba white { 1.0f, 1.0f, 1.0f, 1.0f };
const Rgba teal { 0.0f, 0.45f, 0.55f, 1.0f };
const Rgba violet { 0.45f, 0.25f, 0.95f, 1.0f };
const Rgba magenta { 1.0f, 0.25f, 0.75f, 1.0f };

Image transparentStrip()
{
    Image image(stripWidth, stripHeight, 4);
    image.fill({ 0.0f, 0.0f, 0.0f, 0.0f });
    return image;
}

// Coverage mask of the bright marks of a strip, from which a soft halo is drawn
// underneath them; it is what makes thin marks read as light rather than paint.
class Mask {
public:
    Mask()
        : values(static_cast<std::size_t>(stripWidth) * stripHeight, 0.0f)
    {
    }
    void add(int x, int y, float amount)
    {
        if (x >= 0 && y >= 0 && x < stripWidth && y < stripHeight) {
            float& v = values[static_cast<std::size_t>(y) * stripWidth + static_cast<std::size_t>(x)];
            v = std::max(v, amount);
        }
    }
    float at(int x, int y) const
    {
        x = std::clamp(x, 0, stripWidth - 1);
        y = std::clamp(y, 0, stripHeight - 1);
        return values[static_cast<std::size_t>(y) * stripWidth + static_cast<std::size_t>(x)];
    }
    // Two box passes per axis approximate a Gaussian of about `radius` pixels.
    Mask blurred(int radius) const
    {
        Mask a = *this;
        Mask b;
        const float norm = 1.0f / static_cast<float>(2 * radius + 1);
        for (int pass = 0; pass < 2; ++pass) {
            for (int y = 0; y < stripHeight; ++y) {
                for (int x = 0; x < stripWidth; ++x) {
                    float sum = 0.0f;
                    for (int k = -radius; k <= radius; ++k)
                        sum += a.at(x + k, y);
                    b.values[static_cast<std::size_t>(y) * stripWidth + static_cast<std::size_t>(x)] = sum * norm;
                }
            }
            for (int y = 0; y < stripHeight; ++y) {
                for (int x = 0; x < stripWidth; ++x) {
                    float sum = 0.0f;
                    for (int k = -radius; k <= radius; ++k)
                        sum += b.at(x, y + k);
                    a.values[static_cast<std::size_t>(y) * stripWidth + static_cast<std::size_t>(x)] = sum * norm;
                }
            }
        }
        return a;
    }

private:
    std::vector<float> values;
};

void glow(Image& image, const Mask& marks, int radius, const Rgba& colour, float strength)
{
    const Mask halo = marks.blurred(radius);
    for (int y = 0; y < stripHeight; ++y) {
        for (int x = 0; x < stripWidth; ++x)
            image.blend(x, y, colour, std::min(1.0f, strength * halo.at(x, y)));
    }
}

// Thin bright rails down both long sides give the band a crisp outline.
void rails(Image& image, const Rgba& colour, float alpha)
{
    for (int y = 0; y < stripHeight; ++y) {
        for (int x : { 0, 1, stripWidth - 2, stripWidth - 1 })
            image.blend(x, y, colour, alpha * ((x == 0 || x == stripWidth - 1) ? 0.55f : 1.0f));
    }
}

struct Bar {
    int top;
    int bottom;
    float left;
    float right;
    Rgba colour;
    float alpha;
};

// Scanline bars: a stack of readout bars of mixed length and colour over a faint
// veil, every other pair of rows dimmed like an old monitor, with ruler ticks
// down the left rail.
Image scanlineBars()
{
    Image image = transparentStrip();
    Xorshift32 random(0x5ca1u);
    for (int y = 0; y < stripHeight; ++y) {
        for (int x = 0; x < stripWidth; ++x)
            image.blend(x, y, teal, 0.12f);
    }

    std::vector<Bar> bars;
    int y = 6;
    while (y < stripHeight - 6) {
        const int barHeight = random.below(5) == 0 ? 20 + random.below(30) : 3 + random.below(9);
        const int gap = 3 + random.below(random.below(4) == 0 ? 28 : 8);
        const float left = random.below(3) == 0 ? static_cast<float>(14 + random.below(44)) : 14.0f;
        const float right = random.below(3) == 0 ? static_cast<float>(stripWidth - 6 - random.below(56))
                                                 : static_cast<float>(stripWidth - 6);
        const int pick = random.below(10);
        const Rgba colour = pick < 5 ? cyan : (pick < 8 ? ice : (pick < 9 ? magenta : white));
        const int bottom = std::min(y + barHeight, stripHeight - 6);
        bars.push_back({ y, bottom, left, right, colour, random.range(0.7f, 1.0f) });
        y = bottom + gap;
    }

    Mask marks;
    for (const Bar& bar : bars) {
        for (int row = bar.top; row < bar.bottom; ++row) {
            for (int x = 0; x < stripWidth; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                marks.add(x, row, coverage(bar.left - px) * coverage(px - bar.right) * bar.alpha);
            }
        }
    }
    glow(image, marks, 4, cyan, 0.6f);

    for (const Bar& bar : bars) {
        const float height = static_cast<float>(bar.bottom - bar.top);
        for (int row = bar.top; row < bar.bottom; ++row) {
            const float scan = ((row / 2) & 1) ? 0.62f : 1.0f;
            // Each bar is brightest along its leading edge and dims down its height.
            const float sheen = 1.0f - 0.3f * static_cast<float>(row - bar.top) / height;
            const Rgba colour = row == bar.top ? white : scaled(bar.colour, sheen);
            for (int x = 0; x < stripWidth; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                const float inside = coverage(bar.left - px) * coverage(px - bar.right);
                image.blend(x, row, colour, bar.alpha * scan * inside);
            }
        }
    }

    for (int tick = 0; tick < stripHeight; tick += 16) {
        const int length = tick % 64 == 0 ? 9 : 5;
        for (int x = 3; x < 3 + length; ++x)
            image.blend(x, tick, white, 0.85f);
    }
    rails(image, white, 0.9f);
    return image;
}

// Blocky pseudo-glyphs, 5x7 cells of 4 px, in lines of varying length over a
// teal to violet gradient that fades out towards one end.
Image glyphGradient()
{
    Image image = transparentStrip();
    for (int y = 0; y < stripHeight; ++y) {
        const float t = static_cast<float>(y) / static_cast<float>(stripHeight - 1);
        const Rgba colour = mix(teal, violet, t);
        const float alpha = 0.7f * (1.0f - t) * (1.0f - t) + 0.1f;
        for (int x = 0; x < stripWidth; ++x) {
            // A soft vignette across the band keeps its sides from looking pasted on.
            const float across = std::fabs((static_cast<float>(x) + 0.5f) / stripWidth - 0.5f) * 2.0f;
            image.blend(x, y, colour, alpha * (1.0f - 0.45f * across * across));
        }
    }

    struct Glyph {
        int left;
        int top;
        std::uint32_t shape;
        float brightness;
        bool highlighted;
    };
    std::vector<Glyph> glyphs;
    Xorshift32 random(0x6a7cu);
    const int cell = 4;
    const int glyphW = 5 * cell;
    const int glyphH = 7 * cell;
    for (int line = 0; line * 36 + 12 + glyphH < stripHeight; ++line) {
        const int count = 1 + random.below(4);
        const bool highlighted = random.below(7) == 0;
        for (int g = 0; g < count; ++g)
            glyphs.push_back({ 10 + g * 28, line * 36 + 12, random.next(), random.range(0.7f, 1.0f), highlighted });
    }
    // Strokes rather than noise: a glyph lights a cell when its column or row
    // bit is set and the hash agrees, and mirrors left onto right now and then.
    auto lit = [](std::uint32_t shape, int bx, int by) {
        const int column = (shape & 1u) && bx > 2 ? 4 - bx : bx;
        const bool vertical = (shape >> (1 + column)) & 1u;
        const bool horizontal = (shape >> (6 + by)) & 1u;
        const bool keep = (hash3(shape, static_cast<std::uint32_t>(by * 5 + column), 9u) % 4u) != 0u;
        return (vertical || horizontal) && keep;
    };

    Mask marks;
    for (const Glyph& glyph : glyphs) {
        for (int by = 0; by < 7; ++by) {
            for (int bx = 0; bx < 5; ++bx) {
                if (!glyph.highlighted && lit(glyph.shape, bx, by)) {
                    for (int y = 0; y < cell; ++y) {
                        for (int x = 0; x < cell; ++x)
                            marks.add(glyph.left + bx * cell + x, glyph.top + by * cell + y, glyph.brightness);
                    }
                }
            }
        }
    }
    glow(image, marks, 3, cyan, 0.7f);

    for (const Glyph& glyph : glyphs) {
        if (glyph.highlighted) {
            for (int y = glyph.top - 3; y < glyph.top + glyphH + 3; ++y) {
                for (int x = glyph.left - 3; x < glyph.left + glyphW + 3; ++x)
                    image.blend(x, y, magenta, 0.9f);
            }
        }
        const Rgba ink = glyph.highlighted ? Rgba { 0.08f, 0.02f, 0.12f, 1.0f } : scaled(ice, glyph.brightness);
        for (int by = 0; by < 7; ++by) {
            for (int bx = 0; bx < 5; ++bx) {
                if (!lit(glyph.shape, bx, by))
                    continue;
                for (int y = 0; y < cell; ++y) {
                    for (int x = 0; x < cell; ++x)
                        image.blend(glyph.left + bx * cell + x, glyph.top + by * cell + y, ink, 0.95f);
                }
            }
        }
    }
    rails(image, cyan, 0.8f);
    return image;
}

// A barcode cut into bands that are shifted, split into colour fringes,
// inverted or dropped, like a corrupted video signal.
Image barcodeGlitch()
{
    Image image = transparentStrip();
    Xorshift32 random(0xba5eu);
    bool bars[stripWidth];
    int x = 0;
    bool on = true;
    while (x < stripWidth) {
        const int width = on ? 1 + random.below(5) : 1 + random.below(7);
        for (int k = 0; k < width && x < stripWidth; ++k, ++x)
            bars[x] = on;
        on = !on;
    }
    auto bar = [&](int column) { return bars[((column % stripWidth) + stripWidth) % stripWidth]; };

    const TileableNoise staticNoise(128, 1024, 5u);
    int top = 0;
    while (top < stripHeight) {
        const int bandHeight = std::min(stripHeight - top, 6 + random.below(random.below(3) == 0 ? 120 : 40));
        const int shift = random.below(3) == 0 ? random.below(40) - 20 : 0;
        const int mode = random.below(10); // 0-3 plain, 4-6 colour split, 7 inverted, 8 static, 9 dropped
        const float alpha = random.range(0.6f, 1.0f);
        for (int y = top; y < top + bandHeight; ++y) {
            // Each band fades towards its lower edge, so the cuts between bands show.
            const float fade = 1.0f - 0.4f * static_cast<float>(y - top) / static_cast<float>(bandHeight);
            for (int px = 0; px < stripWidth; ++px) {
                const int source = px - shift;
                Rgba colour = ice;
                float a = 0.0f;
                if (mode <= 3) {
                    a = bar(source) ? alpha : 0.06f;
                } else if (mode <= 6) {
                    const bool red = bar(source - 3);
                    const bool green = bar(source);
                    const bool blue = bar(source + 3);
                    colour = { red ? 1.0f : 0.1f, green ? 1.0f : 0.15f, blue ? 1.0f : 0.3f, 1.0f };
                    a = (red || green || blue) ? alpha : 0.06f;
                } else if (mode == 7) {
                    colour = cyan;
                    a = bar(source) ? 0.1f : alpha;
                } else if (mode == 8) {
                    const float n = staticNoise.at(static_cast<float>(px), static_cast<float>(y));
                    colour = mix(violet, white, n);
                    a = alpha * n;
                }
                image.blend(px, y, colour, a * fade);
            }
        }
        // A bright tear line where some bands were cut.
        if (random.below(3) == 0) {
            for (int px = 0; px < stripWidth; ++px)
                image.blend(px, top, white, 0.85f);
        }
        top += bandHeight;
    }
    rails(image, magenta, 0.85f);
    return image;
}

} // namespace

Image paintStrip(int index)
{
    switch (index) {
    case 1:
        return scanlineBars();
    case 2:
        return glyphGradient();
    case 3:
        return barcodeGlitch();
    default:
        throw std::invalid_argument("paintStrip: index must be 1, 2 or 3");
    }
}
