#include "Noise.h"

#include "Random.h"

#include <cmath>
#include <stdexcept>

TileableNoise::TileableNoise(int periodX, int periodY, std::uint32_t seed)
    : periodX(periodX)
    , periodY(periodY)
    , seed(seed)
{
    if (periodX <= 0 || periodY <= 0)
        throw std::invalid_argument("TileableNoise: periods must be positive");
}

static int wrap(int value, int period)
{
    return ((value % period) + period) % period;
}

float TileableNoise::lattice(int x, int y, int scale, int octave) const
{
    const std::uint32_t h = hash3(static_cast<std::uint32_t>(wrap(x, periodX * scale)),
        static_cast<std::uint32_t>(wrap(y, periodY * scale)), seed + static_cast<std::uint32_t>(octave) * 7919u);
    return static_cast<float>(h >> 8) * (1.0f / 16777215.0f);
}

static float ease(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

float TileableNoise::fractal(float x, float y, int octaves) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    int scale = 1;
    for (int octave = 0; octave < octaves; ++octave) {
        const float sx = x * static_cast<float>(scale);
        const float sy = y * static_cast<float>(scale);
        const float fx = std::floor(sx);
        const float fy = std::floor(sy);
        const int ix = static_cast<int>(fx);
        const int iy = static_cast<int>(fy);
        const float tx = ease(sx - fx);
        const float ty = ease(sy - fy);
        const float a = lattice(ix, iy, scale, octave);
        const float b = lattice(ix + 1, iy, scale, octave);
        const float c = lattice(ix, iy + 1, scale, octave);
        const float d = lattice(ix + 1, iy + 1, scale, octave);
        const float top = a + (b - a) * tx;
        const float bottom = c + (d - c) * tx;
        sum += (top + (bottom - top) * ty) * weight;
        total += weight;
        weight *= 0.5f;
        scale *= 2;
    }
    return sum / total;
}
