#include "../DemoProcess.h"
#include "HeardMatch.h"
#include "SoundServer.h"
#include "StallWatch.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

class HeardSync : public ::testing::TestWithParam<SoundServer::Kind> { };

} // namespace

// Through a real sound server, which plays a buffer well after it is handed
// over: the demo stops itself once a frame is on screen, and the track's
// position heard then (by cross-correlation of the recording at the cut, and
// 0.25 s and 0.45 s before it) is the frame's time within 20 ms, or that
// time and the extra delay asked for; and the music has no dropout. The demo
// picks its output itself: on PipeWire, PipeWire's own interface. A run whose
// recording lost part of what played, or during which the machine stalled
// the test's own real-time threads, runs again.
TEST_P(HeardSync, TheFrameOnScreenIsTheMomentOfTheMusicHeardWithoutADropout)
{
    SoundServer sound(GetParam());
    ASSERT_TRUE(sound.running()) << sound.failure();
    ASSERT_TRUE(sound.record());
    const StallWatch stalls;
    if (!stalls.watching())
        std::cout << "no real-time priority here: the machine's own stalls go unseen" << std::endl;
    // An extra delay of the output moves the pictures by its value.
    for (const auto& [moment, delay] : { std::pair(6000L, 0L), std::pair(46000L, 0L), std::pair(30000L, 100L) }) {
        // The demo picks its output itself.
        const HeardRun run = firstWholeRun(sound, [&, moment = moment, delay = delay] {
            return runUntil(sound, stalls, moment - 3000, moment, { "--audio-delay", std::to_string(delay) },
                { "LUMAROLL_AUDIO=", sound.address(), sound.pipeWireAddress() });
        });
        ASSERT_FALSE(run.frames.empty());
        ASSERT_TRUE(run.recordingWhole) << "every try lost part of its recording, or the machine stalled it";
        const long due = run.frames.back().due;
        const std::vector<Silence> silences = dropouts(sound, run.heardFrom, run.heardUpTo);
        EXPECT_TRUE(silences.empty()) << "runs of silence inside the music: " << describe(silences);
        for (const long back : { 0L, 250L, 450L }) {
            const double heard = trackPositionOf(sound, run.heardUpTo - toFrames(back), due - back + delay) + back;
            std::cout << "frame " << due << " ms on screen with a delay of " << delay << " ms, music heard at " << heard
                      << " ms (" << back << " ms window back): pictures " << due - heard << " ms ahead" << std::endl;
            EXPECT_NEAR(static_cast<double>(due), heard - static_cast<double>(delay), 20.0)
                << "window " << back << " ms back";
        }
        std::cout << run.frames.size() << " frames drawn of " << run.frames.back().pass - run.frames.front().pass + 1
                  << std::endl;
    }
}

INSTANTIATE_TEST_SUITE_P(Through, HeardSync,
    ::testing::Values(SoundServer::Kind::PulseAudio, SoundServer::Kind::PipeWire),
    [](const ::testing::TestParamInfo<SoundServer::Kind>& info) {
        return info.param == SoundServer::Kind::PulseAudio ? "PulseAudio" : "PipeWire";
    });

// ALSA's output, with its own account of what the device still holds
// (snd_pcm_delay), through ALSA's PulseAudio plugin (the device "pulse")
// into the test's server: the frame on screen is the moment heard within
// the same 20 ms, and without a dropout.
TEST(HeardSyncThroughAlsa, TheFrameOnScreenIsTheMomentOfTheMusicHeard)
{
    SoundServer sound(SoundServer::Kind::PulseAudio);
    ASSERT_TRUE(sound.running()) << sound.failure();
    ASSERT_TRUE(sound.record());
    const StallWatch stalls;
    for (const long moment : { 6000L, 46000L }) {
        const HeardRun run = firstWholeRun(sound, [&] {
            return runUntil(
                sound, stalls, moment - 3000, moment, {}, { "LUMAROLL_AUDIO=alsa", "AUDIODEV=pulse", sound.address() });
        });
        ASSERT_FALSE(run.frames.empty());
        ASSERT_TRUE(run.recordingWhole) << "every try lost part of its recording, or the machine stalled it";
        const long due = run.frames.back().due;
        const std::vector<Silence> silences = dropouts(sound, run.heardFrom, run.heardUpTo);
        EXPECT_TRUE(silences.empty()) << "runs of silence inside the music: " << describe(silences);
        for (const long back : { 0L, 250L }) {
            const double heard = trackPositionOf(sound, run.heardUpTo - toFrames(back), due - back) + back;
            std::cout << "through ALSA: frame " << due << " ms on screen, music heard at " << heard << " ms (" << back
                      << " ms window back)" << std::endl;
            EXPECT_NEAR(static_cast<double>(due), heard, 20.0) << "window " << back << " ms back";
        }
    }
}

// A sink with a delay of its own, which it reports to the stream (a tunnel
// into another server, as a network device is): the demo takes the delay
// the stream is told of with the right sign, and the frame on screen is the
// moment heard at the far end within the same 20 ms. Taken with the wrong
// sign, the pictures would be off by twice the sink's delay.
TEST(HeardSyncThroughADelayingSink, TheFrameOnScreenIsTheMomentHeardAtTheFarEnd)
{
    SoundServer device(SoundServer::Kind::PulseAudio);
    ASSERT_TRUE(device.running()) << device.failure();
    const SoundServer tunnel(SoundServer::TunnelInto { device });
    ASSERT_TRUE(tunnel.running()) << tunnel.failure();
    ASSERT_TRUE(device.record());
    const StallWatch stalls;
    for (const long moment : { 6000L, 46000L }) {
        const HeardRun run = firstWholeRun(device, [&] {
            return runUntil(device, stalls, moment - 3000, moment, {}, { "LUMAROLL_AUDIO=pulse", tunnel.address() });
        });
        ASSERT_FALSE(run.frames.empty());
        ASSERT_TRUE(run.recordingWhole) << "every try lost part of its recording, or the machine stalled it";
        const long due = run.frames.back().due;
        for (const long back : { 0L, 250L }) {
            const double heard = trackPositionOf(device, run.heardUpTo - toFrames(back), due - back) + back;
            std::cout << "through a tunnel: frame " << due << " ms on screen, music heard at " << heard << " ms ("
                      << back << " ms window back)" << std::endl;
            EXPECT_NEAR(static_cast<double>(due), heard, 20.0) << "window " << back << " ms back";
        }
    }
}
