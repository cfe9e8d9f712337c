// What the demo does when its sound server misbehaves: whatever the server
// does, it never holds the run, it says what became of the sound, and the
// run keeps its time.
#include "../DemoProcess.h"
#include "HeardMatch.h"
#include "SoundServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <iterator>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A socket that takes connections into its queue and never answers them.
class MuteSocket {
public:
    explicit MuteSocket(const std::string& path)
        : descriptor(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        listening = descriptor >= 0 && bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && listen(descriptor, 16) == 0;
    }
    ~MuteSocket()
    {
        if (descriptor >= 0)
            close(descriptor);
    }
    MuteSocket(const MuteSocket&) = delete;
    MuteSocket& operator=(const MuteSocket&) = delete;

    bool listening = false;

private:
    int descriptor;
};

} // namespace

// A server stopped mid-run (SIGSTOP): Escape, or Ctrl-C, still ends the run
// at once, through PulseAudio and PipeWire alike.
TEST(SoundServerFaults, AStoppedServerHoldsNeitherEscapeNorCtrlC)
{
    for (const auto kind : { SoundServer::Kind::PulseAudio, SoundServer::Kind::PipeWire }) {
        SoundServer sound(kind);
        ASSERT_TRUE(sound.running()) << sound.failure();
        for (const bool escape : { true, false }) {
            SCOPED_TRACE(std::string(kind == SoundServer::Kind::PulseAudio ? "PulseAudio, " : "PipeWire, ")
                + (escape ? "Escape" : "Ctrl-C"));
            DemoProcess demo;
            demo.linkDataWithSettings("hres 160 vres 128\n");
            demo.start({ "--no-wait" }, { "LUMAROLL_AUDIO=pulse", sound.address() });
            const std::string window = demo.waitForWindow(30);
            ASSERT_TRUE(demo.waitForFrames(60, 30)) << demo.finish(1).err;
            sound.pause();
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const auto asked = Clock::now();
            if (escape)
                demo.pressEscape(window);
            else
                demo.signal(SIGINT);
            const DemoProcess::Result result = demo.finish(20);
            EXPECT_LT(Clock::now() - asked, std::chrono::seconds(3));
            EXPECT_EQ(result.status, escape ? 0 : 130) << result.err;
            sound.resume();
        }
    }
}

// A socket that accepts and never answers stands for a sound server that
// hangs: the demo gives it two seconds, then plays without sound (not
// through ALSA, whose default device may go through that very server); and
// Ctrl-C in those two seconds ends it at once.
TEST(SoundServerFaults, AServerThatNeverAnswersGivesTheSilentOutputWithinAFewSeconds)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    MuteSocket mute(demo.directory() + "/mute.socket");
    ASSERT_TRUE(mute.listening);
    const std::vector<std::string> environment { "LUMAROLL_AUDIO=",
        "PULSE_SERVER=unix:" + demo.directory() + "/mute.socket" };
    const auto started = Clock::now();
    demo.start({ "--no-wait" }, environment);
    ASSERT_TRUE(demo.waitForOutput("FPS: ", 20));
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(6));
    demo.signal(SIGTERM);
    const DemoProcess::Result result = demo.finish(10);
    EXPECT_EQ(result.status, 143);
    EXPECT_NE(
        result.err.find("No available audio device (the sound server did not answer within 2 s)\n"), std::string::npos)
        << result.err;

    DemoProcess interrupted;
    interrupted.linkDataWithSettings("hres 160 vres 128\n");
    interrupted.start({ "--no-wait" }, environment);
    ASSERT_TRUE(interrupted.waitForOutput("Music created", 20));
    interrupted.signal(SIGINT);
    const auto asked = Clock::now();
    EXPECT_EQ(interrupted.finish(10).status, 130);
    EXPECT_LT(Clock::now() - asked, std::chrono::seconds(3));
}

// PipeWire without its session manager takes the demo's stream and links it
// to nothing: whichever interface plays, the demo says so within a few
// seconds and plays on with the wall clock, and once the session manager
// runs, a new try is heard and the music comes back, said once each.
TEST(SoundServerFaults, AServerThatPlaysNothingIsSaidAndTheMusicComesBackWhenItDoes)
{
    for (const char* output : { "pipewire", "pulse" }) {
        SoundServer sound(SoundServer::Kind::PipeWireWithoutSessionManager);
        ASSERT_TRUE(sound.running()) << sound.failure();
        DemoProcess demo;
        demo.linkDataWithSettings("hres 160 vres 128\n");
        const std::string log = demo.directory() + "/sync.log";
        demo.start({ "--no-wait", "--start", "20000" },
            { std::string("LUMAROLL_AUDIO=") + output, sound.address(), sound.pipeWireAddress(),
                "LUMAROLL_SYNC_LOG=" + log });
        EXPECT_TRUE(demo.waitForOutput("the sound server plays nothing: playing on without sound\n", 10))
            << output << "\n"
            << demo.outputSoFar();
        // Long enough for two new tries, which must not count as back while
        // they play nothing either; frames go on meanwhile, with the wall clock.
        std::this_thread::sleep_for(std::chrono::seconds(5));
        EXPECT_TRUE(demo.waitForFrames(300, 1)) << output;
        ASSERT_TRUE(sound.startSessionManager());
        EXPECT_TRUE(demo.waitForOutput("the sound is back: playing on with sound\n", 15)) << output << "\n"
                                                                                          << demo.outputSoFar();
        demo.signal(SIGTERM);
        const DemoProcess::Result result = demo.finish(30);
        EXPECT_EQ(result.status, 143) << result.err;
        EXPECT_EQ(occurrences(result.err + result.out, "plays nothing"), 1u) << output << "\n" << result.out;
        EXPECT_EQ(occurrences(result.err + result.out, "is back"), 1u) << output << "\n" << result.out;
        const std::vector<LoggedFrame> frames = syncLog(log);
        ASSERT_FALSE(frames.empty());
        EXPECT_NE(frames.back().music, -1) << output << ": the music's position is known again";
    }
}

// Under a small limit on the files the process may write (`ulimit -f
// 200`), libpulse's shared memory cannot be sized (ftruncate raises
// SIGXFSZ): the demo keeps on, libpulse falls back to its socket, and the
// music plays and is heard in step as ever.
TEST(SoundServerFaults, ALimitOnFileSizesLeavesTheMusicPlaying)
{
    SoundServer sound(SoundServer::Kind::PulseAudio);
    ASSERT_TRUE(sound.running()) << sound.failure();
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    demo.limitFileSize(200 * 1024);
    const std::string log = demo.directory() + "/sync.log";
    demo.start(
        { "--no-wait", "--start", "30000" }, { "LUMAROLL_AUDIO=pulse", sound.address(), "LUMAROLL_SYNC_LOG=" + log });
    EXPECT_TRUE(demo.waitForFrames(120, 30)) << demo.outputSoFar();
    demo.signal(SIGTERM);
    const DemoProcess::Result result = demo.finish(30);
    EXPECT_EQ(result.status, 143) << result.err;
    EXPECT_EQ(result.err.find("No available audio device"), std::string::npos) << result.err;
    const std::vector<LoggedFrame> frames = syncLog(log);
    ASSERT_FALSE(frames.empty());
    EXPECT_NE(frames.back().music, -1) << "the music's position is known";
}

// The server killed mid-run: one line says so, the pictures go on with the
// wall clock, and when the server comes back the music comes back with it,
// where the pictures are; the run then ends by itself with status 0.
TEST(SoundServerFaults, AServerGoneMidRunIsSaidOnceAndTheMusicComesBackWithIt)
{
    SoundServer sound(SoundServer::Kind::PulseAudio);
    ASSERT_TRUE(sound.running()) << sound.failure();
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    const std::string log = demo.directory() + "/sync.log";
    demo.start(
        { "--no-wait", "--start", "64000" }, { "LUMAROLL_AUDIO=pulse", sound.address(), "LUMAROLL_SYNC_LOG=" + log });
    ASSERT_TRUE(demo.waitForFrames(60, 30)) << demo.finish(1).err;
    sound.kill();
    EXPECT_TRUE(demo.waitForOutput("the sound server went away: playing on without sound\n", 5));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(sound.restart());
    EXPECT_TRUE(demo.waitForOutput("the sound is back: playing on with sound\n", 8));
    const DemoProcess::Result result = demo.finish(30);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(occurrences(result.err + result.out, "went away"), 1u);
    const std::vector<LoggedFrame> frames = syncLog(log);
    ASSERT_FALSE(frames.empty());
    EXPECT_NE(frames.back().music, -1) << "the music's position is known again";
    // While the server was away the pictures went on with the wall clock.
    std::vector<LoggedFrame> silent;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(silent), [](auto f) { return f.music == -1; });
    ASSERT_GT(silent.size(), 30u);
    EXPECT_GT(silent.back().wall - silent.front().wall, 900);
    EXPECT_NEAR(silent.back().due - silent.front().due, silent.back().wall - silent.front().wall, 50);
}

// The server stopped three seconds, then continued: the pictures go on with
// the wall clock meanwhile, stand still no longer than the stall limit and a
// little, and the music, started again where they are, is heard in step.
TEST(SoundServerFaults, AfterAStallThePicturesAndTheMusicMeetAgainWithoutAFreezeAsLong)
{
    const StallWatch stalls;
    for (const auto kind : { SoundServer::Kind::PulseAudio, SoundServer::Kind::PipeWire }) {
        SCOPED_TRACE(kind == SoundServer::Kind::PulseAudio ? "PulseAudio" : "PipeWire");
        for (int attempt = 1; attempt <= triesForAWholeRecording; ++attempt) {
            SoundServer sound(kind);
            ASSERT_TRUE(sound.running()) << sound.failure();
            ASSERT_TRUE(sound.record());
            const HeardRun run
                = runUntil(sound, stalls, 2000, 10000, {}, { "LUMAROLL_AUDIO=pulse", sound.address() }, [&sound] {
                      sound.pause();
                      std::this_thread::sleep_for(std::chrono::seconds(3));
                      sound.resume();
                  });
            if (!run.recordingWhole) {
                ASSERT_FALSE(run.frames.empty());
                ASSERT_LT(attempt, triesForAWholeRecording)
                    << "every try lost part of its recording, or the machine stalled it";
                continue;
            }
            const std::vector<LoggedFrame>& frames = run.frames;
            // From the tenth frame on: the first waits for the stream's first sound.
            ASSERT_GT(frames.size(), 10u);
            long longestStill = 0;
            for (std::size_t k = 10; k < frames.size(); ++k)
                longestStill = std::max(longestStill, frames[k].wall - frames[k - 1].wall);
            std::cout << "after a stall of 3 s the pictures stood still at most " << longestStill << " ms" << std::endl;
            EXPECT_LT(longestStill, 1000) << "the pictures stood still that long (ms)";
            const long due = frames.back().due;
            const double heard = trackPositionOf(sound, run.heardUpTo, due);
            std::cout << "then frame " << due << " ms on screen, music heard at " << heard << " ms" << std::endl;
            EXPECT_GE(static_cast<double>(due) - heard, -20.0);
            EXPECT_LE(static_cast<double>(due) - heard, 20.0 + sound.pulseInterfaceLeadMs());
            break;
        }
    }
}
