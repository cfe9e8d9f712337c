#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::size_t firstSound(const std::vector<std::int16_t>& samples)
{
    return static_cast<std::size_t>(
        std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; }) - samples.begin());
}

} // namespace

// --audio-delay through the file output, whose sound is heard as it is
// written: the demo stops itself once the frame of a moment is on screen,
// and the music written by then runs ahead of that frame's time by the
// delay, and by at most the blocks of 23 ms written since. A sound heard
// later than its output reports holds the pictures back by as much.
TEST(AudioDelay, TheFrameOnScreenStandsBehindTheMusicWrittenByTheDelay)
{
    constexpr long start = 40000, moment = 41000, delay = 300;
    DemoProcess demo;
    demo.linkData({ "settings.ini" });
    demo.writeFile("data/settings.ini", "hres 160 vres 128\n");
    const std::string audio = demo.directory() + "/audio.raw";
    const std::string log = demo.directory() + "/sync.log";
    demo.start({ "--no-wait", "--start", std::to_string(start), "--audio-delay", std::to_string(delay) },
        { "LUMAROLL_AUDIO=file:" + audio, "LUMAROLL_STOP_AT=" + std::to_string(moment), "LUMAROLL_SYNC_LOG=" + log });
    ASSERT_TRUE(demo.waitUntilStopped(60)) << demo.finish(1).err;
    std::ifstream file(audio, std::ios::binary);
    const std::string raw(std::istreambuf_iterator<char>(file), {});
    const std::vector<LoggedFrame> frames = syncLog(log);
    demo.signal(SIGTERM);
    demo.signal(SIGCONT);
    EXPECT_EQ(demo.finish(30).status, 143);
    ASSERT_FALSE(frames.empty());

    // Silence while the output waited for the music, then the track from `start`.
    std::vector<std::int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    const std::size_t trackSilence = firstSound(trackFrom(start, 44100));
    ASSERT_LT(trackSilence, 44100u);
    const std::size_t musicFrom = firstSound(samples) - trackSilence;
    const long written = static_cast<long>((samples.size() - musicFrom) / 2 * 1000 / 44100);
    const long shown = frames.back().shown - start;
    EXPECT_GE(written - shown, delay - 2) << written << " ms of music written, the frame on screen at " << shown;
    EXPECT_LE(written - shown, delay + 60) << written << " ms of music written, the frame on screen at " << shown;
}
