#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The random sequence the run's timelines draw from, the same on every
// platform: for every 32-bit seed, the numbers glibc's srand() and rand()
// give. That is an additive feedback generator over 31 words, each new word
// the sum of the ones 3 and 31 places back, seeded by the Park-Miller
// sequence and run 310 steps in before the first number. Stored captures,
// golden frames and seeds keep their pictures wherever the demo runs, the
// web page (whose C library draws another sequence) included.
class RunRandom {
public:
    static constexpr std::int32_t max = 2147483647; // as glibc's RAND_MAX

    explicit RunRandom(std::uint32_t seed = 1) { reseed(seed); }
    void reseed(std::uint32_t seed);
    // The next number, 0 to max.
    std::int32_t next();

private:
    std::array<std::uint32_t, 31> words {};
    std::size_t front = 3; // the word that takes the sum
    std::size_t rear = 0; // the word added to it
};

// The one sequence a run draws from, as the C library's would be: seeded at
// the run's start and at each rehearsal seek, drawn by the timelines.
void seedRunRandom(std::uint32_t seed);
std::int32_t runRandom();
