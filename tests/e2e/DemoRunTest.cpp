#include "CapturedFrames.h"
#include "DemoProcess.h"
#include "capture/PngFile.h"
#include "course/RunLength.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

// The whole run, its passes of 16 ms after the 5 s wait (scenes of 29, 20
// and 25 s and one last frame), stopped (SIGSTOP) for two seconds in scene
// two. The pictures follow the clock, which leaves the stop out: the run
// lasts its 74 s plus the stop, whatever the machine's speed.
TEST(DemoRun, PlaysAllThreeScenesInStepWithTheClockThroughAStopEndsByItselfAndTearsDownInOrder)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128 seed 3\n");
    const std::string log = demo.directory() + "/sync.log";
    demo.start({}, { "LUMAROLL_SYNC_LOG=" + log });
    ASSERT_TRUE(demo.waitForFrames(1900, 120)) << demo.finish(1).out;
    demo.signal(SIGSTOP);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    demo.signal(SIGCONT);
    const DemoProcess::Result result = demo.finish(300);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, ""); // a GL error would have ended the run with its text here
    EXPECT_EQ(result.out.find("not found"), std::string::npos);

    const std::vector<LoggedFrame> frames = syncLog(log);
    ASSERT_GT(frames.size(), 1000u);
    // Every frame drawn is the one due: drawing began less than a step after
    // its time on the clock, and from one frame to the next the clock never
    // moved on further than the wall clock did between its two reads (the
    // ticks around each read bound them, wherever the process was held up).
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const LoggedFrame& frame = frames[k];
        EXPECT_EQ(frame.due, frame.pass * 16);
        EXPECT_LT(frame.begun, frame.due + 16) << "pass " << frame.pass << " drawn a step or more late";
        if (k == 0)
            continue;
        EXPECT_GT(frame.pass, frames[k - 1].pass);
        EXPECT_LE(frame.shown - frames[k - 1].shown, frame.wall - frames[k - 1].wallBefore + 2)
            << "pass " << frame.pass;
    }
    EXPECT_LE(frames.back().pass, 4627);
    // The stop is left out of the clock, and nothing else is: a clock that
    // raced to catch up after it would leave nothing out; one that stood still
    // after it would leave out more.
    const long stopped = (frames.back().wall - frames.front().wall) - (frames.back().shown - frames.front().shown);
    EXPECT_GE(stopped, 1800);
    EXPECT_LE(stopped, 3000);

    // Skipped passes say so once at the end; the reports count every drawn
    // frame but the first and the last window's.
    const std::size_t skippedLine = result.out.find(" drawn, the others skipped");
    EXPECT_EQ(skippedLine != std::string::npos, frames.size() < runFrameCount())
        << result.out.substr(result.out.rfind("FPS"));
    unsigned long reported = 0;
    for (std::size_t at = result.out.find("FPS: "); at != std::string::npos; at = result.out.find("FPS: ", at + 1)) {
        const unsigned long count = std::strtoul(result.out.c_str() + at + 5, nullptr, 10);
        EXPECT_LE(count, 66u) << "frames are held to 16 ms";
        reported += count;
    }
    EXPECT_LE(reported, frames.size() - 1);
    EXPECT_GE(reported + 1 + 64, frames.size());

    // Built in order: the textures, the music player, the cube mesh's buffers,
    // the cube world's programs and quad buffers, then the frame's objects;
    // torn down frame first, then the music player, the loaded textures last.
    const std::vector<std::string> inOrder { "GL Texture ID created: 6\n", "Music created\n",
        "StaticBuffer (vId: 3 ; iId: 4)\n", "shader compilation './data/shaders/grid.vert'",
        "shader compilation './data/shaders/simple.vert'", "StaticBuffer (vId: 5 ; iId: 6)\n", "FrameBuffer created\n",
        "FPS: ", "GL Texture with id: 7 deleted\n", "deleted created\n", firstFrameBufferDeleted(result.out),
        "Music deleted\n", "GL Texture with id: 6 deleted\n" };
    std::size_t at = 0;
    for (const std::string& line : inOrder) {
        at = result.out.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << result.out;
    }
}

// Escape or Ctrl-C during the start-up wait ends the demo at once: no music
// starts, no frame is drawn, and the tear-down runs in full.
TEST(DemoRun, EscapeOrASignalDuringTheStartUpWaitEndsItWithoutAFrame)
{
    for (const bool escape : { true, false }) {
        SCOPED_TRACE(escape ? "Escape" : "SIGINT");
        DemoProcess demo;
        demo.linkDataWithSettings("hres 160 vres 128\n");
        const std::string log = demo.directory() + "/sync.log";
        demo.start({}, { "LUMAROLL_SYNC_LOG=" + log });
        const std::string window = demo.waitForWindow(30);
        ASSERT_FALSE(window.empty()) << demo.finish(1).err;
        ASSERT_TRUE(demo.waitForOutput("StaticBuffer (vId: 7 ; iId: 8)", 30)); // the screen quad, built last
        const auto sent = std::chrono::steady_clock::now();
        if (escape)
            demo.pressEscape(window);
        else
            demo.signal(SIGINT);
        const DemoProcess::Result result = demo.finish(20);
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(3));
        EXPECT_EQ(result.status, escape ? 0 : 130);
        EXPECT_TRUE(syncLog(log).empty()) << "a frame was drawn";
        EXPECT_NE(result.out.find(firstFrameBufferDeleted(result.out)), std::string::npos);
        EXPECT_NE(result.out.find("Music deleted\n"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
}

namespace {

// The 16-bit stereo samples the file output wrote, from the first that is
// not silent.
std::vector<std::int16_t> playedFromFirstSound(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string raw(std::istreambuf_iterator<char>(file), {});
    std::vector<std::int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    samples.erase(samples.begin(), std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; }));
    return samples;
}

} // namespace

// What only the live path does (the screen pass into the framebuffer the
// window presents, the swap) against the capture's frame of the same moment,
// in each scene: a run stops itself once the frame is on screen, and the
// window is read from the X server. The demo must have loaded the SDL 1.2
// build that LUMAROLL_TEST_SDL names, when it names one.
TEST(DemoRun, TheLiveWindowShowsTheCapturesFrameOfTheSameMoment)
{
    const std::string settings = "hres 200 vres 160 seed 7\n";
    const char* sdlBuild = std::getenv("LUMAROLL_TEST_SDL");
    std::vector<RgbFrame> shown;
    std::vector<long> due;
    for (const long moment : { 4496L, 33008L, 62000L }) {
        DemoProcess demo;
        demo.linkDataWithSettings(settings);
        const std::string log = demo.directory() + "/sync.log";
        // Away from the corner where other windows open: the X server keeps no
        // copy of a covered part of a window.
        demo.start({ "--no-wait", "--start", std::to_string(moment - 496) },
            { "LUMAROLL_STOP_AT=" + std::to_string(moment), "LUMAROLL_SYNC_LOG=" + log,
                "SDL_VIDEO_WINDOW_POS=1000,800" });
        const std::string window = demo.waitForWindow(30);
        ASSERT_FALSE(window.empty()) << demo.finish(1).err;
        ASSERT_TRUE(demo.waitUntilStopped(60)) << "not stopped at " << moment << "\n" << demo.finish(1).err;
        if (sdlBuild != nullptr) {
            EXPECT_TRUE(demo.hasLoaded(sdlBuild)) << "the demo runs on another SDL than " << sdlBuild;
        }
        shown.push_back(grabWindow(window));
        const std::vector<LoggedFrame> frames = syncLog(log);
        ASSERT_FALSE(frames.empty());
        due.push_back(frames.back().due);
        EXPECT_GE(due.back(), moment);
        demo.signal(SIGTERM);
        demo.signal(SIGCONT);
        EXPECT_EQ(demo.finish(30).status, 143);
    }

    const std::vector<RgbFrame> captures = capturedFrames(settings, due);
    for (std::size_t moment = 0; moment < due.size(); ++moment) {
        const RgbFrame& captured = captures[moment];
        ASSERT_FALSE(captured.rgb.empty()) << "no capture of " << due[moment];
        std::size_t lit = 0;
        for (const unsigned char value : captured.rgb)
            lit += value > 40 ? 1u : 0u;
        EXPECT_GT(lit, captured.rgb.size() / 8) << "a frame with something on it at " << due[moment];
        EXPECT_EQ(valuesApart(shown[moment], captured), 0u) << "of " << captured.rgb.size() << " at " << due[moment];
    }
}

// The command line answers without opening a window: help, version, and a
// bad option refused with one line and status 2.
TEST(DemoRun, HelpVersionAndABadCommandLineAnswerWithoutAWindow)
{
    const std::uint32_t lastFrame = lastFrameTime(runFrameCount());
    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    };
    const Row rows[] = {
        { { "--help" }, 0, "usage: lumaroll [OPTION]...", "" },
        { { "--version" }, 0, "lumaroll 1.0.0\n", "" },
        { { "--size", "wide" }, 2, "", "lumaroll: --size takes WIDTHxHEIGHT" },
        { { "--start", std::to_string(lastFrame + frameMilliseconds) }, 2, "",
            "lumaroll: --start takes a run time up to the last frame at " + std::to_string(lastFrame) + " ms; not "
                + std::to_string(lastFrame + frameMilliseconds) },
    };
    for (const Row& row : rows) {
        DemoProcess demo;
        demo.linkData();
        demo.start(row.arguments, { "DISPLAY=:4242" });
        const DemoProcess::Result result = demo.finish(20);
        EXPECT_EQ(result.status, row.status) << row.arguments.front();
        EXPECT_EQ(result.out.rfind(row.out, 0), 0u) << result.out;
        EXPECT_EQ(result.err.rfind(row.err, 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), row.err.empty() ? 0 : 1) << result.err;
    }
}

// The window takes the size the settings give, in whole pixels: without a
// settings file anywhere the defaults are used, and the data folder's missing
// file is reported; the user's own settings win over the data folder's, and
// the command line over both. Escape, once the loop runs, ends the run with
// status 0 and its tear-down in full: the frame's objects and the loaded
// textures are gone.
TEST(DemoRun, SettingsInLayersSizeTheWindowAndEscapeEndsWithStatusZero)
{
    struct Row {
        bool files;
        std::vector<std::string> arguments;
        std::string size, err;
    };
    const Row rows[] = {
        { false, { "--no-wait" }, "800x640",
            "Fail to open the setting file\nSettings file 'data/settings.ini' cannot be read: No such file or "
            "directory\n" },
        { true, { "--no-wait" }, "320x200", "" },
        { true, { "--no-wait", "--size", "300x180" }, "300x180", "" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        DemoProcess demo;
        demo.linkData({ "settings.ini" });
        if (row.files) {
            demo.writeFile("data/settings.ini", "hres 640 vres 480\n");
            demo.writeFile("config/lumaroll/settings.ini", "fullscreen 0\nhres 320.9\nvres 200\n");
        }
        demo.start(row.arguments);
        const std::string window = demo.waitForWindow(30);
        ASSERT_FALSE(window.empty()) << demo.finish(1).err;
        const RgbFrame shown = grabWindow(window);
        EXPECT_EQ(std::to_string(shown.width) + "x" + std::to_string(shown.height), row.size);
        ASSERT_TRUE(demo.waitForOutput("FPS: ", 60)) << demo.finish(1).out;
        demo.pressEscape(window);
        const DemoProcess::Result result = demo.finish(20);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find(firstFrameBufferDeleted(result.out)), std::string::npos);
        EXPECT_NE(result.out.rfind("GL Texture with id: "), std::string::npos);
        EXPECT_GT(result.out.rfind(" deleted"), result.out.rfind("FPS: "));
        EXPECT_EQ(result.err, row.err);
    }
}

// Begun at 29008 ms, the first scene shown is scene two's first frame and the
// music plays from the same place, the pictures following its pace (that of
// a card one and a half times too fast); muted, there is no music player at all.
TEST(DemoRun, StartAtATimeBeginsTheScenesAndTheMusicThereAndMuteLeavesTheMusicOut)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    const std::string audio = demo.directory() + "/audio.raw";
    const std::string log = demo.directory() + "/sync.log";
    demo.start({ "--start", "29008", "--no-wait" },
        { "LUMAROLL_AUDIO=file:" + audio, "LUMAROLL_AUDIO_PACE=1.5", "LUMAROLL_SYNC_LOG=" + log });
    ASSERT_TRUE(demo.waitForOutput("FPS: ", 60)) << demo.finish(1).out;
    demo.signal(SIGTERM);
    EXPECT_EQ(demo.finish(20).status, 143);
    const std::vector<LoggedFrame> frames = syncLog(log);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front().pass, static_cast<long>(sceneFrameCounts()[0])) << "scene two's first frame";
    EXPECT_NEAR(frames.front().begun, 29008, 32) << "the clock starts at the frame's time";
    EXPECT_GT(frames.size(), 30u) << "and goes on from there";
    for (const LoggedFrame& frame : frames)
        EXPECT_LE(std::labs(frame.shown - 29008 - frame.music), 16L) << "pass " << frame.pass << ": the music's clock";

    std::vector<std::int16_t> played = playedFromFirstSound(audio);
    ASSERT_GE(played.size(), 44100u) << "half a second of music at least";
    played.resize(44100);
    EXPECT_TRUE(played == trackFrom(29008, 44100)) << "the music does not go on from 29008 ms";

    // A stop asked for between two frames, in a run whose clock leaves
    // frames out (a card four times too fast): the first frame due at or
    // after it is the one that stands.
    DemoProcess stopping;
    stopping.linkDataWithSettings("hres 160 vres 128\n");
    const std::string stopLog = stopping.directory() + "/sync.log";
    stopping.start({ "--start", "29008", "--no-wait" },
        { "LUMAROLL_AUDIO=file:" + stopping.directory() + "/audio.raw", "LUMAROLL_AUDIO_PACE=4",
            "LUMAROLL_STOP_AT=31001", "LUMAROLL_SYNC_LOG=" + stopLog });
    ASSERT_TRUE(stopping.waitUntilStopped(60)) << stopping.finish(1).err;
    const std::vector<LoggedFrame> beforeStop = syncLog(stopLog);
    ASSERT_FALSE(beforeStop.empty());
    EXPECT_GE(beforeStop.back().due, 31001);
    EXPECT_LT(beforeStop.back().due, 31001 + 16 * 16) << "the first frame shown past it";
    EXPECT_LT(beforeStop.size(), static_cast<std::size_t>((beforeStop.back().due - 29008) / 16))
        << "frames were left out on the way";
    stopping.signal(SIGTERM);
    stopping.signal(SIGCONT);
    EXPECT_EQ(stopping.finish(20).status, 143);

    // The run's last frame is a start it takes: its picture (the pass before
    // it, whose picture it shows again), and the end.
    DemoProcess last;
    last.linkDataWithSettings("hres 160 vres 128\n");
    const std::string lastLog = last.directory() + "/sync.log";
    const long lastFrame = static_cast<long>(lastFrameTime(runFrameCount()));
    last.start({ "--start", std::to_string(lastFrame), "--no-wait", "--mute" }, { "LUMAROLL_SYNC_LOG=" + lastLog });
    EXPECT_EQ(last.finish(60).status, 0);
    const std::vector<LoggedFrame> lastFrames = syncLog(lastLog);
    ASSERT_FALSE(lastFrames.empty()) << "no frame shown";
    EXPECT_EQ(lastFrames.front().due, lastFrame - 16);

    DemoProcess muted;
    muted.linkDataWithSettings("hres 160 vres 128\n");
    muted.start({ "--mute", "--no-wait" });
    ASSERT_TRUE(muted.waitForOutput("FPS: ", 60)) << muted.finish(1).out;
    muted.signal(SIGTERM);
    const DemoProcess::Result result = muted.finish(20);
    EXPECT_EQ(result.status, 143);
    EXPECT_EQ(result.out.find("Music created"), std::string::npos);
}
