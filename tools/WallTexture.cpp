#include "Textures.h"

#include "Noise.h"
#include "Random.h"
#include "Shapes.h"
#include "WallPanels.h"

#include <cmath>
#include <vector>

namespace {

constexpr int size = 1024;

// Row-major square field that wraps at its edges, like the texture it feeds.
template <typename T> class Field {
public:
    explicit Field(const T& value)
        : values(static_cast<std::size_t>(size) * size, value)
    {
    }
    T& at(int x, int y) { return values[index(x, y)]; }
    const T& at(int x, int y) const { return values[index(x, y)]; }

private:
    static std::size_t index(int x, int y)
    {
        const int wx = (x % size + size) % size;
        const int wy = (y % size + size) % size;
        return static_cast<std::size_t>(wy) * size + static_cast<std::size_t>(wx);
    }
    std::vector<T> values;
};

// Box blur with wrap-around, run twice per axis: close enough to a Gaussian for
// the ambient-occlusion estimate, and seamless because the field wraps.
Field<float> blurred(const Field<float>& source, int radius)
{
    Field<float> a = source;
    Field<float> b(0.0f);
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < size; ++y) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k)
                sum += a.at(k, y);
            for (int x = 0; x < size; ++x) {
                b.at(x, y) = sum * norm;
                sum += a.at(x + radius + 1, y) - a.at(x - radius, y);
            }
        }
        for (int x = 0; x < size; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k)
                sum += b.at(x, k);
            for (int y = 0; y < size; ++y) {
                a.at(x, y) = sum * norm;
                sum += b.at(x, y + radius + 1) - b.at(x, y - radius);
            }
        }
    }
    return a;
}

struct Canvas {
    Field<float> height { 0.0f };
    Field<Rgba> albedo { Rgba {} };
    Field<unsigned char> face { 0 };
    Field<unsigned char> brushedAcross { 0 };
};

Rgba steelTint(Xorshift32& random)
{
    const float shade = random.range(0.86f, 1.1f);
    const float warm = random.range(-0.015f, 0.02f);
    const float cool = random.range(-0.01f, 0.03f);
    return { (0.35f + warm) * shade, 0.37f * shade, (0.40f + cool) * shade, 1.0f };
}

// Rust run-off below a rivet, fading with distance and kept on its panel.
void streak(Canvas& canvas, const Panel& panel, const Point& rivet, float length, const TileableNoise& noise)
{
    const Rgba rust { 0.30f, 0.16f, 0.08f, 1.0f };
    const int top = panel.y + static_cast<int>(rivet.y) + 4;
    const int bottom = std::min(panel.y + panel.height - grooveHalfWidth - 8, top + static_cast<int>(length));
    for (int y = top; y < bottom; ++y) {
        const float t = static_cast<float>(y - top) / length;
        for (int dx = -5; dx <= 5; ++dx) {
            const int x = panel.x + static_cast<int>(rivet.x) + dx;
            const float across = clamp01(1.0f - std::fabs(static_cast<float>(dx)) / 5.5f);
            const float grain
                = 0.5f + 0.5f * noise.fractal(static_cast<float>(x) / 4.0f, static_cast<float>(y) / 16.0f, 2);
            const float amount = 0.45f * std::pow(1.0f - t, 1.5f) * across * grain;
            canvas.albedo.at(x, y) = mix(canvas.albedo.at(x, y), rust, amount);
        }
    }
}

void scratch(Canvas& canvas, Xorshift32& random, const std::vector<Panel>& layout)
{
    const Panel& panel = layout[static_cast<std::size_t>(random.below(static_cast<int>(layout.size())))];
    const float margin = 20.0f;
    const float w = static_cast<float>(panel.width) - 2.0f * margin;
    const float h = static_cast<float>(panel.height) - 2.0f * margin;
    const float ax = static_cast<float>(panel.x) + margin + random.unit() * w;
    const float ay = static_cast<float>(panel.y) + margin + random.unit() * h;
    const float angle = random.range(0.0f, 6.2831853f);
    const float length = random.range(10.0f, 70.0f);
    // Both ends stay inside the panel, so no scratch is cut off by the tile border.
    const float bx = std::clamp(ax + std::cos(angle) * length, static_cast<float>(panel.x) + margin,
        static_cast<float>(panel.x + panel.width) - margin);
    const float by = std::clamp(ay + std::sin(angle) * length, static_cast<float>(panel.y) + margin,
        static_cast<float>(panel.y + panel.height) - margin);
    const float strength = random.range(0.15f, 0.45f);
    const int x0 = static_cast<int>(std::min(ax, bx)) - 2;
    const int x1 = static_cast<int>(std::max(ax, bx)) + 2;
    const int y0 = static_cast<int>(std::min(ay, by)) - 2;
    const int y1 = static_cast<int>(std::max(ay, by)) + 2;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (!canvas.face.at(x, y))
                continue;
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float cover = coverage(capsuleDistance(px, py, ax, ay, bx, by, 0.35f)) * strength;
            Rgba& a = canvas.albedo.at(x, y);
            a = mix(a, { a.r * 1.5f + 0.06f, a.g * 1.5f + 0.06f, a.b * 1.5f + 0.07f, 1.0f }, cover);
        }
    }
}

} // namespace

Image paintWall()
{
    Canvas canvas;
    Xorshift32 random(0x3a11u);
    const TileableNoise streakNoise(256, 64, 21u);
    const std::vector<Panel>& layout = wallLayout();

    for (const Panel& panel : layout) {
        const Rgba tint = steelTint(random);
        const unsigned char across = random.below(2) == 0 ? 1 : 0;
        const std::vector<Point> rivets = rivetsOf(panel);
        for (int y = 0; y < panel.height; ++y) {
            for (int x = 0; x < panel.width; ++x) {
                const Surface s
                    = shapePanel(panel, rivets, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, tint);
                canvas.height.at(panel.x + x, panel.y + y) = s.height;
                canvas.albedo.at(panel.x + x, panel.y + y) = s.albedo;
                canvas.face.at(panel.x + x, panel.y + y) = s.face ? 1 : 0;
                canvas.brushedAcross.at(panel.x + x, panel.y + y) = across;
            }
        }
        for (const Point& rivet : rivets) {
            if (random.unit() < 0.3f)
                streak(canvas, panel, rivet, random.range(25.0f, 95.0f), streakNoise);
        }
    }
    for (int i = 0; i < 320; ++i)
        scratch(canvas, random, layout);

    const TileableNoise grime(4, 4, 31u);
    const TileableNoise grainAcross(64, 512, 32u);
    const TileableNoise grainDown(512, 64, 33u);
    const TileableNoise wear(32, 32, 34u);
    const Field<float> soft = blurred(canvas.height, 7);

    // A fixed light from the upper left brings out the relief; the demo's own
    // point light multiplies on top of this.
    const float lx = -0.45f, ly = -0.65f, lz = 1.0f;
    const float lightLength = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float relief = 4.0f;

    Image image(size, size, 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float h = canvas.height.at(x, y);
            const float dx = (canvas.height.at(x + 1, y) - canvas.height.at(x - 1, y)) * 0.5f * relief;
            const float dy = (canvas.height.at(x, y + 1) - canvas.height.at(x, y - 1)) * 0.5f * relief;
            const float normalLength = std::sqrt(dx * dx + dy * dy + 1.0f);
            const float lambert = std::max(0.0f, (-dx * lx - dy * ly + lz) / (normalLength * lightLength));
            const float flat = lz / lightLength;
            const float light = 0.3f + 0.7f * lambert / flat;

            const float cavity = clamp01((soft.at(x, y) - h) * 1.4f);
            const float occlusion = 1.0f - 0.55f * cavity;

            Rgba albedo = canvas.albedo.at(x, y);
            const float g = grime.fractal(fx / 256.0f, fy / 256.0f, 5);
            albedo = scaled(albedo, 0.7f + 0.55f * g);
            albedo = mix(albedo, { 0.24f, 0.15f, 0.09f, 1.0f }, 0.35f * smoothstep(0.42f, 0.25f, g));

            const float grain = canvas.brushedAcross.at(x, y) ? grainAcross.fractal(fx / 16.0f, fy / 2.0f, 2)
                                                              : grainDown.fractal(fx / 2.0f, fy / 16.0f, 2);
            albedo = scaled(albedo, 0.92f + 0.16f * grain);

            // Worn, bright metal where the relief is steep: bevels, rivet heads, pipe tops.
            const float slope = std::sqrt(dx * dx + dy * dy);
            const float worn
                = smoothstep(0.25f, 0.6f, slope) * smoothstep(0.45f, 0.7f, wear.fractal(fx / 32.0f, fy / 32.0f, 3));
            albedo = mix(albedo, scaled(albedo, 1.45f), worn);

            image.set(x, y, scaled(albedo, light * occlusion));
        }
    }
    return image;
}
