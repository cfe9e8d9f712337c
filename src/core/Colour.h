#pragma once

#include <cstdint>

// An RGBA colour of four 8-bit channels, built from floats in 0..1.
// Each channel is the float times 255 truncated toward zero, of which only the
// low 8 bits are kept: 1.0 gives 255, 0.5 gives 127 and 1.5 wraps to 126.
// Values that are not finite give 0.
struct Colour {
    Colour(float red, float green, float blue, float alpha);

    static std::uint8_t channel(float value);

    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};
