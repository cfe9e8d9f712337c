#pragma once

#include <cstdint>

// The fade of scenes two and three: 0 rising to 10 over the first second,
// 10 from then on, falling from 10 to 0 over `outLength` ms after `outStart`.
// The fraction is taken in double precision and rounded to float before use.
inline float sceneFade(std::uint32_t elapsed, std::uint32_t outStart, double outLength)
{
    if (elapsed < 1000)
        return 10.0f * static_cast<float>(elapsed / 1000.0);
    if (elapsed > outStart)
        return 10.0f * (1.0f - static_cast<float>((elapsed - outStart) / outLength));
    return 10.0f;
}
