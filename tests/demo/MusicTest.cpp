#include "demo/Music.h"
#include "support/LogCapture.h"
#include "support/TrackSamples.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The file output stands in for a sound card at nine times a card's pace,
// so that the stream's position moves fast.
TEST(Music, ResumesAPausedStreamWhereItWas)
{
    char audio[] = "/tmp/lumaroll-music-XXXXXX";
    close(mkstemp(audio));
    setenv("LUMAROLL_AUDIO", ("file:" + std::string(audio)).c_str(), 1);
    setenv("LUMAROLL_AUDIO_PACE", "9", 1);
    LogCapture capture;
    Music music;
    ASSERT_TRUE(music.init()) << capture.err();
    ASSERT_TRUE(music.load("data/music/vobra.ogg")) << capture.err();
    EXPECT_EQ(music.position(), std::nullopt) << "no position before play";

    auto waitUntil = [&](std::uint32_t ms) {
        for (int tries = 0; tries < 500 && music.position().value_or(0) < ms; ++tries)
            SDL_Delay(5);
        return music.position().value_or(0);
    };
    music.play();
    AudioChannel* channel = music.playingChannel();
    ASSERT_NE(channel, nullptr);
    ASSERT_GE(waitUntil(2000), 2000u);
    channel->setPaused(true);
    SDL_Delay(100); // the last buffer handed over plays out
    const std::uint32_t pausedAt = *music.position();
    SDL_Delay(100);
    EXPECT_EQ(*music.position(), pausedAt) << "a paused stream stands still";
    music.play();
    EXPECT_EQ(music.playingChannel(), channel);
    EXPECT_GE(*music.position(), pausedAt) << "resumed where it was, not started again";
    EXPECT_GE(waitUntil(pausedAt + 500), pausedAt + 500) << "and goes on from there";
    music.stop();
    EXPECT_FALSE(channel->isPlaying());
    unlink(audio);
}

// No sound card (a server, a capture machine): no sound server answers and
// ALSA has no such device; the stream still opens and plays, silently. The
// line that says why is the fault matrix's.
TEST(Music, WithoutAnAudioDeviceItPlaysSilently)
{
    unsetenv("LUMAROLL_AUDIO");
    setenv("PULSE_SERVER", "unix:/nonexistent/lumaroll-test/native", 1);
    setenv("AUDIODEV", "lumaroll_no_such_device", 1);
    LogCapture capture;
    Music music;
    EXPECT_FALSE(music.init());
    EXPECT_TRUE(music.load("data/music/vobra.ogg")) << capture.err();
    music.play();
    ASSERT_NE(music.playingChannel(), nullptr);
    EXPECT_TRUE(music.playingChannel()->isPlaying());
    EXPECT_EQ(music.position(), std::nullopt) << "a silent output has no position to follow";
}

// Without a sound server, ALSA: the test's own device writes what it is
// handed to a file (ALSA's file plugin over its null device), which must be
// the track from where play began, sample for sample.
TEST(Music, OnAlsaTheDeviceIsHandedTheTrackFromWhereItBegins)
{
    char folder[] = "/tmp/lumaroll-alsa-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string played = std::string(folder) + "/played.raw";
    std::ofstream(std::string(folder) + "/asound.conf")
        << "pcm.lumaroll_test { type file slave.pcm \"null\" file \"" << played << "\" format \"raw\" }\n";
    setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + std::string(folder) + "/asound.conf").c_str(), 1);
    setenv("LUMAROLL_AUDIO", "alsa", 1);
    setenv("AUDIODEV", "lumaroll_test", 1);
    LogCapture capture;
    {
        Music music;
        ASSERT_TRUE(music.init()) << capture.err();
        ASSERT_TRUE(music.load("data/music/vobra.ogg"));
        music.playFrom(29008);
        // The null device takes what it is given at once.
        namespace fs = std::filesystem;
        for (int tries = 0; tries < 200 && !(fs::exists(played) && fs::file_size(played) >= 44100u * 4u); ++tries)
            SDL_Delay(10);
        music.stop();
    }
    unsetenv("ALSA_CONFIG_PATH");
    std::ifstream file(played, std::ios::binary);
    std::vector<std::int16_t> samples(44100 * 2);
    file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
    EXPECT_TRUE(samples == trackFrom(29008, samples.size())) << "the device was not handed the track from 29008 ms";
    std::filesystem::remove_all(folder);
}
