#pragma once

#include "course/TimeSource.h"

#include <vector>

// A time source that moves only by what a test spends and by the sleeps
// asked of it, which it records.
struct FakeTime : TimeSource {
    std::uint32_t ticks() override { return now; }
    void delay(std::uint32_t ms) override
    {
        sleeps.push_back(ms);
        now += ms;
    }
    std::uint32_t now = 5000;
    std::vector<std::uint32_t> sleeps;
};
