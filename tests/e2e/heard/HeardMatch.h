#pragma once

#include "SoundServer.h"

#include <cstdint>

std::uint64_t toFrames(long milliseconds);

// Where in the track (ms) the recording's window of 0.3 s ending at frame
// `end` is, looked for within 0.3 s of `expectedEnd` ms: the best match of
// the normalised cross-correlation.
double trackPositionOf(const SoundServer& sound, std::uint64_t end, long expectedEnd);

// Runs of digital silence of a millisecond or more inside the music heard
// between frames `begin` and `end`: from its first sound on, the soundtrack
// has none.
int dropouts(const SoundServer& sound, std::uint64_t begin, std::uint64_t end);
