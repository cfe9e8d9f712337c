#pragma once

#include <cstdint>

// Where the clocks read milliseconds and sleep. The demo's reads SDL's
// counter; tests give their own, so the clocks' rules run without SDL.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::uint32_t ticks() = 0;
    virtual void delay(std::uint32_t milliseconds) = 0;
};

// All the clocks' times are SDL milliseconds; differences are unsigned
// 32-bit, so a wrap of the counter shows up as a huge elapsed value. No
// reading is this one: it marks a clock that has not ticked yet.
constexpr std::uint32_t notYetTicked = 0xFFFFFFFFu;
