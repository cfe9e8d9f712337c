#pragma once

#include <cstdint>

// Where the frame clock reads milliseconds and sleeps. The SDL one is used by
// the demo; tests give their own so the clock's rules run without SDL.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::uint32_t ticks() = 0;
    virtual void delay(std::uint32_t milliseconds) = 0;
};

class SdlTimeSource : public TimeSource {
public:
    std::uint32_t ticks() override;
    void delay(std::uint32_t milliseconds) override;
};
