#pragma once

#include <cstdint>

// Turns a scene's absolute time (ms), given at every update, into a value the
// scene reads once per update. Signals are held by value and own nothing; the
// destructor is protected so nobody deletes one through this base, which has
// no virtual destructor.
class Signal {
public:
    // lastPulse holds this until the first update.
    static constexpr std::uint32_t notUpdated = 0xFFFFFFFFu;

    explicit Signal(unsigned int period)
        : period(period)
    {
    }

    virtual void update(unsigned int time) = 0;

    std::uint32_t period;
    std::uint32_t lastPulse = notUpdated;
    float value = 0.0f;

protected:
    ~Signal() = default;
    Signal(const Signal&) = default;
    Signal& operator=(const Signal&) = default;
};
