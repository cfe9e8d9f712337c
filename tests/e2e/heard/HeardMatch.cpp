#include "HeardMatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t window = 13230; // 0.3 s of the recording
constexpr long searchMs = 300; // either side of where the track should be

// A cycle of the graph lasts 21.3 ms: on a virtual machine whose host stalls
// it, runs with stalls from 21.5 ms on had silences in the music. A stall
// just before the stop is noticed takes the 20 ms margin from 5 ms on,
// beside what the outputs' own offsets take.
constexpr double stallAllowedMs = 20.0;
constexpr double stallAllowedAtTheStopMs = 5.0;
constexpr auto stopWindow = std::chrono::milliseconds(100);

} // namespace

std::uint64_t toFrames(long milliseconds)
{
    return static_cast<std::uint64_t>(milliseconds) * 441u / 10u;
}

double trackPositionOf(const SoundServer& sound, std::uint64_t end, long expectedEnd)
{
    const std::vector<float> heard = sound.recording(end - window, end);
    const long from = expectedEnd - static_cast<long>(window * 10 / 441) - searchMs;
    const std::vector<std::int16_t> stereo
        = trackFrom(static_cast<std::uint32_t>(from), (window + toFrames(2 * searchMs)) * 2);
    std::vector<float> track(stereo.size() / 2);
    for (std::size_t i = 0; i < track.size(); ++i)
        track[i] = static_cast<float>(stereo[2 * i]) + static_cast<float>(stereo[2 * i + 1]);
    double energy = 0;
    for (std::size_t i = 0; i < window; ++i)
        energy += double(track[i]) * track[i];
    double best = -1e300;
    std::size_t bestLag = 0;
    for (std::size_t lag = 0; lag + window <= track.size(); ++lag) {
        float sum = 0;
        for (std::size_t i = 0; i < window; ++i)
            sum += heard[i] * track[lag + i];
        const double score = sum / std::sqrt(energy + 1.0);
        if (score > best) {
            best = score;
            bestLag = lag;
        }
        if (lag + window < track.size())
            energy += double(track[lag + window]) * track[lag + window] - double(track[lag]) * track[lag];
    }
    return from + static_cast<double>(bestLag + window) * 10.0 / 441.0;
}

std::vector<Silence> dropouts(const SoundServer& sound, std::uint64_t begin, std::uint64_t end)
{
    constexpr double msPerFrame = 1000.0 / 44100.0;
    const std::vector<float> heard = sound.recording(begin, end);
    std::size_t at = 0;
    while (at < heard.size() && heard[at] == 0.0f)
        ++at;
    std::vector<Silence> found;
    std::size_t silent = 0;
    for (; at <= heard.size(); ++at) {
        if (at < heard.size() && heard[at] == 0.0f) {
            ++silent;
            continue;
        }
        if (silent >= 44)
            found.push_back({ static_cast<double>(heard.size() - (at - silent)) * msPerFrame,
                static_cast<double>(silent) * msPerFrame });
        silent = 0;
    }
    return found;
}

std::string describe(const std::vector<Silence>& silences)
{
    if (silences.empty())
        return "none";
    std::ostringstream out;
    for (const Silence& silence : silences)
        out << "\n  " << silence.lengthMs << " ms of silence from " << silence.msBeforeEnd << " ms before the stop";
    return out.str();
}

bool recordingWholeBefore(const SoundServer& sound, SoundServer::Clock::time_point stoppedAt)
{
    std::this_thread::sleep_until(stoppedAt + std::chrono::milliseconds(400));
    const double lost = sound.recordingLostMs(stoppedAt - std::chrono::seconds(2), stoppedAt);
    // Less than a cycle of the graph, which is what a loss takes at least.
    if (lost < 10.0)
        return true;
    std::cout << "the recording lost " << lost
              << " ms before the stop (its server missed the graph's cycles): that run measures nothing" << std::endl;
    return false;
}

bool unstalled(
    const StallWatch& stalls, StallWatch::Clock::time_point startedAt, StallWatch::Clock::time_point stoppedAt)
{
    const double stalled = stalls.longestStallMs(startedAt, stoppedAt);
    const double stalledAtTheStop = stalls.longestStallMs(stoppedAt - stopWindow, stoppedAt);
    std::cout << "the machine stalled a real-time thread of the test's own for at most " << stalled
              << " ms during the run, " << stalledAtTheStop << " ms at the stop" << std::endl;
    if (stalled < stallAllowedMs && stalledAtTheStop < stallAllowedAtTheStopMs)
        return true;
    std::cout << "that is too long: the run measures nothing" << std::endl;
    return false;
}

HeardRun runUntil(const SoundServer& sound, const StallWatch& stalls, long start, long moment,
    const std::vector<std::string>& options, const std::vector<std::string>& environment,
    const std::function<void()>& during)
{
    HeardRun run;
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    const std::string log = demo.directory() + "/sync.log";
    run.heardFrom = sound.recordedFrames();
    std::vector<std::string> arguments { "--no-wait", "--start", std::to_string(start) };
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<std::string> variables { "LUMAROLL_STOP_AT=" + std::to_string(moment), "LUMAROLL_SYNC_LOG=" + log };
    variables.insert(variables.end(), environment.begin(), environment.end());
    const auto startedAt = StallWatch::Clock::now();
    demo.start(arguments, variables);
    if (during) {
        EXPECT_TRUE(demo.waitForFrames(60, 30)) << demo.outputSoFar();
        during();
    }
    const bool stopped = demo.waitUntilStopped(30, std::chrono::microseconds(500));
    const auto stoppedAt = SoundServer::Clock::now();
    run.heardUpTo = sound.framePlayingAt(stoppedAt);
    EXPECT_TRUE(stopped) << demo.finish(1).err;
    if (!stopped)
        return {};
    run.frames = syncLog(log);
    demo.signal(SIGTERM);
    demo.signal(SIGCONT);
    EXPECT_EQ(demo.finish(30).status, 143);
    run.recordingWhole = recordingWholeBefore(sound, stoppedAt) && unstalled(stalls, startedAt, stoppedAt);
    return run;
}

HeardRun firstWholeRun(const SoundServer& sound, const std::function<HeardRun()>& tryOnce)
{
    HeardRun run;
    for (int attempt = 1; attempt <= triesForAWholeRecording && !run.recordingWhole; ++attempt) {
        run = tryOnce();
        if (run.frames.empty())
            break;
        if (!run.recordingWhole)
            std::cout << "silence in that run: " << describe(dropouts(sound, run.heardFrom, run.heardUpTo))
                      << std::endl;
    }
    return run;
}
