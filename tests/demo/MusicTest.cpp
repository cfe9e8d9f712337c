#include "demo/Music.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// SDL's silent output stands in for a sound card: it takes samples at the pace of one.
TEST(Music, LogsItsLifeRefusesAMissingFileAndResumesAPausedChannelInsteadOfStartingAnother)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    LogCapture capture;
    auto music = std::make_unique<Music>();
    EXPECT_EQ(capture.out(), "Music created\n");
    ASSERT_TRUE(music->init());
    EXPECT_FALSE(music->load("data/music/no_such.ogg"));
    EXPECT_EQ(capture.err(), "Couldn't open 'data/music/no_such.ogg'\n\n\n");
    ASSERT_TRUE(music->load("data/music/vobra.ogg")) << capture.err();

    music->play();
    AudioChannel* channel = music->playingChannel();
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isPlaying());
    channel->setPaused(true);
    EXPECT_TRUE(channel->isPaused());
    music->play();
    EXPECT_EQ(music->playingChannel(), channel);
    EXPECT_FALSE(channel->isPaused());
    music->update();
    EXPECT_TRUE(channel->isPlaying());
    music->stop();
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_FALSE(channel->isPaused()) << "a stopped channel is not paused, whatever SDL_mixer says";

    capture.clear();
    music.reset();
    EXPECT_EQ(capture.out(), "Music deleted\n");
}

// No sound card (a server, a capture machine): the failure is logged as
// usual, and the stream still opens and plays, silently.
TEST(Music, WithoutAnAudioDeviceItLogsWhyAndPlaysSilently)
{
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    LogCapture capture;
    Music music;
    EXPECT_FALSE(music.init());
    EXPECT_EQ(capture.err(), "No available audio device\n\n\n");
    EXPECT_TRUE(music.load("data/music/vobra.ogg"));
    music.play();
    ASSERT_NE(music.playingChannel(), nullptr);
    EXPECT_TRUE(music.playingChannel()->isPlaying());
}
