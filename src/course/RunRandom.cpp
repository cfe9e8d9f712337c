#include "course/RunRandom.h"

void RunRandom::reseed(std::uint32_t seed)
{
    // The first word is the seed (1 for 0), the rest the Park-Miller sequence
    // from it, 16807 x mod (2^31 - 1) by Schrage's method on signed 32-bit
    // words: a seed of 2^31 and more counts as the negative word it is.
    auto word = static_cast<std::int32_t>(seed == 0 ? 1u : seed);
    words[0] = static_cast<std::uint32_t>(word);
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::int64_t high = word / 127773;
        const std::int64_t low = word % 127773;
        std::int64_t next = 16807 * low - 2836 * high;
        if (next < 0)
            next += 2147483647;
        word = static_cast<std::int32_t>(next);
        words[i] = static_cast<std::uint32_t>(word);
    }
    front = 3;
    rear = 0;
    for (int discarded = 0; discarded < 310; ++discarded)
        next();
}

std::int32_t RunRandom::next()
{
    words[front] += words[rear]; // modulo 2^32
    const auto number = static_cast<std::int32_t>(words[front] >> 1);
    front = (front + 1) % words.size();
    rear = (rear + 1) % words.size();
    return number;
}

namespace {

RunRandom& sequence()
{
    static RunRandom run;
    return run;
}

} // namespace

void seedRunRandom(std::uint32_t seed)
{
    sequence().reseed(seed);
}

std::int32_t runRandom()
{
    return sequence().next();
}
