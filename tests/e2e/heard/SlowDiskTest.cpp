// The music's file on a slow disk once the run plays: each 64 KiB piece of it
// (about four seconds of music) takes 300 ms to come, as from a cold cache on
// a network disk (SlowReads.cpp, preloaded into the demo). The outputs'
// real-time threads only copy what a thread of its own decoded ahead, so the
// music heard has no gap, and the pictures stay with it.
#include "../DemoProcess.h"
#include "HeardMatch.h"
#include "SoundServer.h"
#include "StallWatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr long start = 30000;
constexpr long stop = 40000;

std::size_t linesOf(const std::string& path)
{
    std::ifstream file(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(file, line);)
        ++lines;
    return lines;
}

} // namespace

TEST(SlowDisk, TheMusicHeardHasNoGapWhileItsFileComesSlowly)
{
    char folder[] = "/tmp/lumaroll-slow-disk-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string slowWhile = std::string(folder) + "/slow";
    const std::string slowLog = std::string(folder) + "/slow.log";
    const StallWatch stalls;
    for (const auto kind : { SoundServer::Kind::PulseAudio, SoundServer::Kind::PipeWire }) {
        SCOPED_TRACE(kind == SoundServer::Kind::PulseAudio ? "PulseAudio" : "PipeWire");
        SoundServer sound(kind);
        ASSERT_TRUE(sound.running()) << sound.failure();
        ASSERT_TRUE(sound.record());
        HeardRun run;
        for (int attempt = 1; attempt <= triesForAWholeRecording && !run.recordingWhole; ++attempt) {
            std::remove(slowWhile.c_str());
            std::remove(slowLog.c_str());
            // The demo picks its output itself: on PipeWire, PipeWire's own interface.
            run = runUntil(sound, stalls, start, stop, {},
                { "LUMAROLL_AUDIO=", sound.address(), sound.pipeWireAddress(), "LD_PRELOAD=" LUMAROLL_SLOW_READS,
                    "SLOW_READS_FILE=music/vobra.ogg", "SLOW_READS_MS=300", "SLOW_READS_WHILE=" + slowWhile,
                    "SLOW_READS_LOG=" + slowLog },
                [&slowWhile] { std::ofstream created(slowWhile); });
            ASSERT_FALSE(run.frames.empty());
        }
        ASSERT_TRUE(run.recordingWhole) << "every try lost part of its recording, or the machine stalled it";
        const std::size_t slowPieces = linesOf(slowLog);
        std::cout << slowPieces << " pieces of the music's file came slowly while it played" << std::endl;
        EXPECT_GE(slowPieces, 1u) << "the disk was never slow: the test proves nothing";
        const std::vector<Silence> silences = dropouts(sound, run.heardFrom, run.heardUpTo);
        EXPECT_TRUE(silences.empty()) << "runs of silence inside the music: " << describe(silences);
        const long due = run.frames.back().due;
        const double heard = trackPositionOf(sound, run.heardUpTo, due);
        std::cout << "frame " << due << " ms on screen, music heard at " << heard << " ms" << std::endl;
        EXPECT_NEAR(static_cast<double>(due), heard, 20.0) << "the pictures follow the music heard";
    }
    std::filesystem::remove_all(folder);
}
