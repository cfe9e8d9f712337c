#pragma once

#include <cstdint>

// The number of frames a whole run shows: each scene's frames until its
// update says it is over, then one last. Plays the scenes' timelines, which
// draw from rand(): call it before the run seeds the generator.
std::uint32_t runFrameCount();

constexpr std::uint32_t frameMilliseconds = 16; // scene time per frame, whatever the real time
