#include "core/Colour.h"

#include <cmath>

Colour::Colour(float r, float g, float b, float a)
    : red(channel(r))
    , green(channel(g))
    , blue(channel(b))
    , alpha(channel(a))
{
}

std::uint8_t Colour::channel(float value)
{
    const double scaled = std::trunc(static_cast<double>(value) * 255.0);
    if (!std::isfinite(scaled))
        return 0;
    // Reduce before converting: a direct cast of a large or negative double
    // to an 8-bit unsigned is undefined. fmod keeps the sign, so shift
    // negatives into 0..255, which matches two's-complement wrapping.
    double wrapped = std::fmod(scaled, 256.0);
    if (wrapped < 0.0)
        wrapped += 256.0;
    return static_cast<std::uint8_t>(wrapped);
}
