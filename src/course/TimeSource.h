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
