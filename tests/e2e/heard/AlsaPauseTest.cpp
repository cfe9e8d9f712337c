// A rehearsal's pause through ALSA's output, heard: ALSA drops what the
// device holds at a pause and plays on from the frame last heard, so the
// music heard after the resume takes up where the music heard before the
// pause left off.
#include "../DemoProcess.h"
#include "HeardMatch.h"
#include "SoundServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t third = 44100 * 3 / 10; // frames in the 0.3 s the matching reads

// The rehearsal's time in its last status line that holds `state`, in ms; -1 when none does.
long lastStatusTime(const std::string& out, const std::string& state)
{
    long found = -1;
    for (std::size_t at = out.find("Rehearsal: "); at != std::string::npos; at = out.find("Rehearsal: ", at + 1)) {
        unsigned long seconds = 0, thousandths = 0;
        char word[16] = {};
        if (std::sscanf(
                out.c_str() + at, "Rehearsal: %lu.%lu s, scene %*u, pass %*u, %15[a-z]", &seconds, &thousandths, word)
                == 3
            && state == word)
            found = static_cast<long>(seconds * 1000 + thousandths);
    }
    return found;
}

} // namespace

TEST(AlsaPause, TheMusicHeardAfterAResumeTakesUpWhereThePauseLeftIt)
{
    SoundServer sound(SoundServer::Kind::PulseAudio);
    ASSERT_TRUE(sound.running()) << sound.failure();
    ASSERT_TRUE(sound.record());
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    demo.outputAsItIs();
    const std::uint64_t from = sound.recordedFrames();
    demo.start({ "--rehearse", "--start", "20000" },
        { "LUMAROLL_AUDIO=alsa", "AUDIODEV=pulse", sound.address(), "SDL_VIDEO_WINDOW_POS=0,1100" });
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    ASSERT_TRUE(demo.waitForOutput("Rehearsal: 20.000 s, scene 1, pass 1250, playing", 30)) << demo.outputSoFar();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    demo.pressKey(window, "space");
    ASSERT_TRUE(demo.waitForOutput(", paused", 10)) << demo.outputSoFar();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    demo.pressKey(window, "space");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    demo.pressEscape(window);
    const DemoProcess::Result result = demo.finish(20);
    ASSERT_EQ(result.status, 0) << result.err;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // The pause is the longest run of silence in what was recorded.
    const std::vector<float> heard = sound.recording(from, sound.recordedFrames());
    std::size_t longest = 0, longestEnd = 0, run = 0;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        run = heard[i] == 0.0f ? run + 1 : 0;
        if (run > longest) {
            longest = run;
            longestEnd = i + 1;
        }
    }
    ASSERT_GT(longest, 44100u) << "no pause of a second or more was heard";
    const std::uint64_t pausedAt = from + longestEnd - longest;
    const std::uint64_t resumedAt = from + longestEnd;
    const long pausedTime = lastStatusTime(result.out, "paused");
    ASSERT_GT(pausedTime, 0) << result.out;
    const double before = trackPositionOf(sound, pausedAt, pausedTime);
    const double after = trackPositionOf(sound, resumedAt + third, static_cast<long>(before) + 300) - 300.0;
    std::cout << "the music heard last before the pause: " << before << " ms; first after it: " << after
              << " ms; the pictures paused at " << pausedTime << " ms" << std::endl;
    EXPECT_NEAR(after, before, 20.0) << "the music took up elsewhere than it left off";
    EXPECT_NEAR(before, static_cast<double>(pausedTime), 40.0) << "the pictures paused elsewhere than the music";
}
