#pragma once

#include <cstdint>

// A size in pixels: width, then height.
struct Resolution {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};
