#pragma once

#include "course/Signal.h"

// A metronome: value is 1 in exactly the update in which more than period ms
// have passed since the last pulse, 0 otherwise. The first update only starts
// the count. With 16 ms steps the pulses come every first multiple of 16
// above the period (32 ms for 25, 1904 for 1900).
class Pulsor final : public Signal {
public:
    explicit Pulsor(unsigned int period)
        : Signal(period)
    {
    }

    void update(unsigned int time) override;
};
