#include "../DemoProcess.h"
#include "SoundServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t window = 13230; // 0.3 s of the recording
constexpr long searchMs = 300; // either side of where the track should be

std::uint64_t toFrames(long milliseconds)
{
    return static_cast<std::uint64_t>(milliseconds) * 441u / 10u;
}

// Where in the track (ms) the recording's window ending at frame `end` is,
// looked for within searchMs of `expectedEnd` ms: the best match of the
// normalised cross-correlation.
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

} // namespace

// Through a real sound server, which plays a buffer well after it is handed
// over: the demo stops itself once a frame is on screen, and the track's
// position heard then (by cross-correlation of the recording at the cut, and
// 0.25 s and 0.45 s before it) is the frame's time within 20 ms.
TEST(HeardSync, TheFrameOnScreenIsTheMomentOfTheMusicHeardThen)
{
    SoundServer sound;
    ASSERT_TRUE(sound.running()) << "pulseaudio and parec, from pulseaudio and pulseaudio-utils";
    for (const long moment : { 6000L, 46000L }) {
        DemoProcess demo;
        demo.linkData({ "settings.ini" });
        demo.writeFile("data/settings.ini", "hres 160 vres 128\n");
        const std::string log = demo.directory() + "/sync.log";
        demo.start({ "--no-wait", "--start", std::to_string(moment - 3000) },
            { "SDL_AUDIODRIVER=pulse", sound.address(), "LUMAROLL_STOP_AT=" + std::to_string(moment),
                "LUMAROLL_SYNC_LOG=" + log });
        const bool stopped = demo.waitUntilStopped(30, std::chrono::microseconds(500));
        const std::uint64_t heardUpTo = sound.recordedFrames();
        ASSERT_TRUE(stopped) << demo.finish(1).err;
        const std::vector<LoggedFrame> frames = syncLog(log);
        demo.signal(SIGTERM);
        demo.signal(SIGCONT);
        EXPECT_EQ(demo.finish(30).status, 143);
        ASSERT_FALSE(frames.empty());
        const long due = frames.back().due;
        for (const long back : { 0L, 250L, 450L }) {
            const double heard = trackPositionOf(sound, heardUpTo - toFrames(back), due - back) + back;
            std::cout << "frame " << due << " ms on screen, music heard at " << heard << " ms (" << back
                      << " ms window back): pictures " << due - heard << " ms ahead" << std::endl;
            EXPECT_NEAR(static_cast<double>(due), heard, 20.0) << "window " << back << " ms back";
        }
    }
}
