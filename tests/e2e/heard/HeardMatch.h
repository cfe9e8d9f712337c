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

// Whether the recording kept all that played in the 2 s before `stoppedAt`,
// which the measures read; it waits until 0.4 s after it to judge. When it
// lost a piece (a recorder whose server missed the graph's cycles on a busy
// machine: nothing the demo does), it says so, and the run measures nothing.
bool recordingWholeBefore(const SoundServer& sound, SoundServer::Clock::time_point stoppedAt);

// How many runs a measure may take to get a whole recording.
constexpr int triesForAWholeRecording = 3;
