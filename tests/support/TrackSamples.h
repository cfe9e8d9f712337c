#pragma once

#include <cstdint>
#include <vector>

// `count` 16-bit samples (interleaved stereo) of the repository's soundtrack
// from `milliseconds` into it, as libvorbisfile decodes them; fewer at its end.
std::vector<std::int16_t> trackFrom(std::uint32_t milliseconds, std::size_t count);
