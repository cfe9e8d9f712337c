#pragma once

#include <cstdint>

// xorshift32 with a fixed seed per image: the generated files depend on nothing
// but this code, so a regeneration reproduces them byte for byte.
class Xorshift32 {
public:
    explicit Xorshift32(std::uint32_t seed)
        : state(seed ? seed : 0x9e3779b9u) // zero is xorshift's fixed point
    {
    }

    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }

    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    float range(float low, float high) { return low + (high - low) * unit(); }
    // Uniform integer in [0, count); count must be positive.
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint32_t>(count)); }

private:
    std::uint32_t state;
};

// Stateless integer hash (a murmur-style finaliser), for lattice noise that has
// to give the same value for the same cell whatever order it is asked in.
inline std::uint32_t hash3(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}
