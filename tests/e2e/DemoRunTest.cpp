#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <vorbis/vorbisfile.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

TEST(DemoRun, SettingsSizeOpensThatWindowAndEscapeEndsWithStatusZero)
{
    DemoProcess demo;
    demo.linkData({"settings.ini"});
    demo.writeFile("data/settings.ini", "fullscreen 0\nhres 320.9\nvres 200\nseed 7\n");
    demo.start();
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    EXPECT_EQ(demo.windowSize(window), "320x200");
    // The first frame count shows the loop is running, past the start-up wait.
    ASSERT_TRUE(demo.waitForOutput("FPS: ", 60)) << demo.finish(1).out;
    demo.pressEscape(window);
    const DemoProcess::Result result = demo.finish(20);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("FPS: "), std::string::npos) << result.out;
    // The tear-down ran in full: the frame's objects and the loaded textures are gone.
    EXPECT_NE(result.out.find("FrameBuffer '1' deleted\n"), std::string::npos);
    EXPECT_NE(result.out.rfind("GL Texture with id: "), std::string::npos);
    EXPECT_GT(result.out.rfind(" deleted"), result.out.rfind("FPS: "));
    EXPECT_EQ(result.err, "");
}

TEST(DemoRun, MissingSettingsFileIsReportedAndDefaultsAreUsed)
{
    DemoProcess demo;
    demo.linkData({"settings.ini"});
    demo.start();
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    EXPECT_EQ(demo.windowSize(window), "800x640");
    demo.signal(SIGTERM);
    const DemoProcess::Result result = demo.finish(20);
    EXPECT_EQ(result.status, 143);
    EXPECT_EQ(result.err, "Fail to open the setting file\n");
}

// The whole run: 4628 passes of 16 ms after the 5 s wait (scenes of 29, 20 and
// 25 s and one last frame), longer where the software renderer cannot keep up.
TEST(DemoRun, PlaysAllThreeScenesWithoutGLErrorEndsByItselfAndTearsDownInOrder)
{
    DemoProcess demo;
    demo.linkData({"settings.ini"});
    demo.writeFile("data/settings.ini", "hres 160 vres 128 seed 3\n");
    demo.start();
    const DemoProcess::Result result = demo.finish(400);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, ""); // a GL error would have ended the run with its text here
    EXPECT_EQ(result.out.find("not found"), std::string::npos);
    int reports = 0;
    for (size_t at = result.out.find("FPS: "); at != std::string::npos; at = result.out.find("FPS: ", at + 1))
        ++reports;
    EXPECT_GE(reports, 74); // about one a second
    // Built in order: the textures, the music player, the cube mesh's buffers,
    // the cube world's programs and quad buffers, then the frame's objects;
    // torn down frame first, then the music player, the loaded textures last.
    const std::vector<std::string> inOrder { "GL Texture ID created: 6\n", "Music created\n",
        "StaticBuffer (vId: 3 ; iId: 4)\n", "shader compilation './data/shaders/grid.vert'",
        "shader compilation './data/shaders/simple.vert'", "StaticBuffer (vId: 5 ; iId: 6)\n", "FrameBuffer created\n",
        "FPS: ", "GL Texture with id: 7 deleted\n", "deleted created\n", "FrameBuffer '1' deleted\n",
        "Music deleted\n", "GL Texture with id: 6 deleted\n" };
    std::size_t at = 0;
    for (const std::string& line : inOrder) {
        at = result.out.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << result.out;
    }
}

namespace {

// 16-bit stereo samples, as the demo's audio output takes them.
std::vector<std::int16_t> samplesOf(const std::string& raw)
{
    std::vector<std::int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}

// The first `count` samples of the soundtrack, decoded.
std::vector<std::int16_t> trackStart(std::size_t count)
{
    std::vector<std::int16_t> samples(count);
    OggVorbis_File file;
    if (ov_fopen((std::string(LUMAROLL_SOURCE_DIR) + "/data/music/vobra.ogg").c_str(), &file) != 0)
        return {};
    std::size_t got = 0;
    int section = 0;
    while (got < count) {
        const long bytes = ov_read(&file, reinterpret_cast<char*>(samples.data() + got),
            static_cast<int>((count - got) * 2), 0, 2, 1, &section);
        if (bytes <= 0)
            break;
        got += static_cast<std::size_t>(bytes) / 2;
    }
    ov_clear(&file);
    samples.resize(got);
    return samples;
}

std::size_t firstSound(const std::vector<std::int16_t>& samples)
{
    std::size_t at = 0;
    while (at < samples.size() && samples[at] == 0)
        ++at;
    return at;
}

} // namespace

// SDL's disk driver writes what the demo plays, at about the pace of a sound
// card: silence through the start-up wait, then the track from its first sample.
TEST(DemoRun, PlaysTheSoundtrackFromItsFirstSampleWhenThePicturesStart)
{
    DemoProcess demo;
    demo.linkData({ "settings.ini" });
    demo.writeFile("data/settings.ini", "hres 160 vres 128\n");
    const std::string audio = demo.directory() + "/audio.raw";
    demo.start({ "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + audio, "SDL_DISKAUDIODELAY=90" });
    ASSERT_TRUE(demo.waitForOutput("FPS: ", 60)) << demo.finish(1).out;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    demo.signal(SIGTERM);
    const DemoProcess::Result result = demo.finish(20);
    EXPECT_EQ(result.status, 143);
    std::ifstream file(audio, std::ios::binary);
    const std::vector<std::int16_t> played = samplesOf(std::string(std::istreambuf_iterator<char>(file), {}));
    const std::size_t start = firstSound(played);
    ASSERT_GT(start, 44100u * 2u * 4u) << "the start-up wait is silent";
    ASSERT_GE(played.size(), start + 44100u * 2u) << "a second of music at least";
    const std::vector<std::int16_t> track = trackStart(44100 * 2 * 2);
    const std::size_t trackSound = firstSound(track);
    ASSERT_GE(track.size(), trackSound + 44100u * 2u);
    const std::vector<std::int16_t> heard(played.begin() + static_cast<long>(start),
        played.begin() + static_cast<long>(start + 44100 * 2));
    const std::vector<std::int16_t> expected(track.begin() + static_cast<long>(trackSound),
        track.begin() + static_cast<long>(trackSound + 44100 * 2));
    EXPECT_TRUE(heard == expected) << "the first second played is not the track's first second";
}

