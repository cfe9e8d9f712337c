#pragma once

#include "course/TimeSource.h"

// SDL's millisecond counter and its sleep.
class SdlTimeSource : public TimeSource {
public:
    std::uint32_t ticks() override;
    void delay(std::uint32_t milliseconds) override;
};
