#pragma once

#include "../DemoProcess.h"
#include "SoundServer.h"
#include "StallWatch.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

std::uint64_t toFrames(long milliseconds);

struct HeardRun {
    std::vector<LoggedFrame> frames; // drawn
    std::uint64_t heardFrom = 0, heardUpTo = 0; // the recording's frames at its start and at the stop
    bool recordingWhole = false; // and the machine let the run be: else it measures nothing
};

// A run of the demo through `sound`, begun at `start` ms without the wait,
// until the frame of `moment` is on screen, where it stops itself; `during`,
// where there is one, runs once 60 frames are drawn.
HeardRun runUntil(const SoundServer& sound, const StallWatch& stalls, long start, long moment,
    const std::vector<std::string>& options, const std::vector<std::string>& environment,
    const std::function<void()>& during = {});

// Where in the track (ms) the recording's window of 0.3 s ending at frame
// `end` is, looked for within 0.3 s of `expectedEnd` ms: the best match of
// the normalised cross-correlation.
double trackPositionOf(const SoundServer& sound, std::uint64_t end, long expectedEnd);

// A run of digital silence in a recording: where it starts, in ms before the
// window's end, and how long it lasts.
struct Silence {
    double msBeforeEnd = 0;
    double lengthMs = 0;
};

// Runs of digital silence of a millisecond or more inside the music heard
// between frames `begin` and `end`: from its first sound on, the soundtrack
// has none.
std::vector<Silence> dropouts(const SoundServer& sound, std::uint64_t begin, std::uint64_t end);

// "none", or each run, where it is and how long.
std::string describe(const std::vector<Silence>& silences);

// Whether the recording kept all that played in the 2 s before `stoppedAt`,
// which the measures read; it waits until 0.4 s after it to judge. When it
// lost a piece (a recorder whose server missed the graph's cycles on a busy
// machine: nothing the demo does), it says so, and the run measures nothing.
bool recordingWholeBefore(const SoundServer& sound, SoundServer::Clock::time_point stoppedAt);

// Whether the machine let a run from `startedAt` to `stoppedAt` be, which it
// says: no stall of a real-time thread long enough to take a player's thread
// past a cycle of the graph, nor one of a few ms just before the stop, which
// moves the moment the measures read by as much. Otherwise the run measures
// nothing.
bool unstalled(
    const StallWatch& stalls, StallWatch::Clock::time_point startedAt, StallWatch::Clock::time_point stoppedAt);

// How many runs a measure may take to get a whole recording, unstalled.
constexpr int triesForAWholeRecording = 6;

// The first run of `tryOnce` whose recording is whole, or the last of
// triesForAWholeRecording; a run that drew nothing is returned at once. The
// silences of each run given up on are printed.
HeardRun firstWholeRun(const SoundServer& sound, const std::function<HeardRun()>& tryOnce);
