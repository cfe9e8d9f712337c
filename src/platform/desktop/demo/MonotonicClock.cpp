#include "platform/native/demo/SoundOutput.h"

#include <chrono>

// libstdc++'s steady clock: CLOCK_MONOTONIC.
std::int64_t monotonicMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
