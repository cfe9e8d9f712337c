#include "DemoProcess.h"
#include "capture/PngFile.h"
#include "course/RunLength.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

// A sheet of the chosen frames, six to a row; without a display the capture
// brings its own.
TEST(Capture, ContactSheetTilesTheChosenFramesAndNeedsNoDisplay)
{
    DemoProcess capture;
    capture.linkData();
    const std::string sheet = capture.directory() + "/sheet.png";
    capture.startCapture({ "--sheet", sheet, "--size", "20x16", "--at", "0,16,32,48,64,80,96" }, { "DISPLAY=" });
    const DemoProcess::Result result = capture.finish(60);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("capturing inside a virtual X server"), std::string::npos);
    const RgbFrame frame = loadPng(sheet);
    EXPECT_EQ(frame.width, 6 * 20);
    EXPECT_EQ(frame.height, 2 * 16);
}

// The video of the whole run with its soundtrack, at an even size; a FIFO
// at the name the video was once written under is none of its business.
TEST(Capture, VideoOfTheWholeRunHasEveryFrameAndTheMusic)
{
    DemoProcess capture;
    capture.linkData();
    const std::string video = capture.directory() + "/run.mp4";
    ASSERT_EQ(mkfifo((video + ".partial.mp4").c_str(), 0600), 0);
    capture.startCapture({ "--video", video, "--size", "33x25" });
    const DemoProcess::Result result = capture.finish(400);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_fifo(video + ".partial.mp4"));
    EXPECT_NE(result.out.find("capturing at 32x24"), std::string::npos);
    const std::string streams = shellOutput("ffprobe -v error -show_entries stream=codec_name,width,height,nb_frames,"
                                            "duration -of compact=nk=1 '"
        + video + "'");
    const std::uint32_t frames = runFrameCount();
    char expected[64];
    std::snprintf(expected, sizeof expected, "h264|32|24|%.6f|%u", frames * frameMilliseconds / 1000.0, frames);
    EXPECT_NE(streams.find(expected), std::string::npos) << streams;
    EXPECT_NE(streams.find("aac|"), std::string::npos) << streams;
}

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The files under `folder` whose names hold ".partial".
std::vector<std::string> partials(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".partial") != std::string::npos)
            found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

// What stands at a name the capture might write under first (a link to
// someone's file, a file, a FIFO), as anyone may plant in a shared folder,
// is never written through, replaced, waited on or removed: the capture
// writes files it made itself, and renames them over the output once whole.
TEST(Capture, WritesOnlyThroughFilesItMadeItself)
{
    DemoProcess capture;
    capture.linkData();
    const std::string dir = capture.directory();
    capture.writeFile("victim.txt", "victim\n");
    capture.writeFile("frames/lumaroll-01008.png.partial", "someone's\n");
    fs::create_symlink(dir + "/victim.txt", dir + "/sheet.png.partial");
    ASSERT_EQ(mkfifo((dir + "/frames/lumaroll-02000.png.partial").c_str(), 0600), 0);

    capture.startCapture({ "--sheet", dir + "/sheet.png", "--size", "16x16", "--at", "1008,2000" });
    DemoProcess::Result result = capture.finish(60);
    EXPECT_EQ(result.status, 0) << result.err;
    DemoProcess frames; // a process is started once
    frames.linkData();
    frames.startCapture({ "--out", dir + "/frames", "--size", "16x16", "--at", "1008,2000" });
    result = frames.finish(60);
    EXPECT_EQ(result.status, 0) << result.err;

    EXPECT_EQ(fileText(dir + "/victim.txt"), "victim\n");
    EXPECT_TRUE(fs::is_symlink(dir + "/sheet.png.partial"));
    EXPECT_FALSE(fs::is_symlink(dir + "/sheet.png"));
    EXPECT_EQ(loadPng(dir + "/sheet.png").width, 6 * 16);
    EXPECT_EQ(fileText(dir + "/frames/lumaroll-01008.png.partial"), "someone's\n");
    EXPECT_TRUE(fs::is_fifo(dir + "/frames/lumaroll-02000.png.partial"));
    EXPECT_EQ(loadPng(dir + "/frames/lumaroll-01008.png").width, 16);
    EXPECT_EQ(loadPng(dir + "/frames/lumaroll-02000.png").width, 16);
    EXPECT_EQ(partials(dir),
        (std::vector<std::string> { "lumaroll-01008.png.partial", "lumaroll-02000.png.partial", "sheet.png.partial" }))
        << "the capture leaves nothing of its own";
}

// The files a capture makes of its own (0600 while it writes them) end with
// the mode the user's umask gives a new file, as any program's would.
TEST(Capture, TheFilesWrittenTakeTheUsersUmask)
{
    DemoProcess capture;
    capture.linkData();
    const std::string dir = capture.directory();
    const mode_t saved = umask(027); // the children take it from this process
    capture.startCapture({ "--sheet", dir + "/sheet.png", "--size", "16x16", "--at", "1008" });
    const DemoProcess::Result sheet = capture.finish(60);
    DemoProcess frames;
    frames.linkData();
    frames.startCapture({ "--out", dir + "/frames", "--size", "16x16", "--at", "1008" });
    const DemoProcess::Result framesResult = frames.finish(60);
    umask(saved);
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    ASSERT_EQ(framesResult.status, 0) << framesResult.err;
    for (const char* file : { "/sheet.png", "/frames/lumaroll-01008.png" }) {
        struct stat status { };
        ASSERT_EQ(stat((dir + file).c_str(), &status), 0) << file;
        EXPECT_EQ(status.st_mode & 0777u, 0640u) << file;
    }
}

// libpng leaves the stream's last bytes for the close: a disk that takes
// all but the last byte of a frame fails there, and the capture says so and
// leaves no file, as for a failure part-way.
TEST(Capture, AFrameWhoseLastBytesCannotBeWrittenIsAFailureAndLeavesNothing)
{
    DemoProcess whole;
    whole.linkData();
    const std::string dir = whole.directory();
    whole.startCapture({ "--out", dir + "/whole", "--size", "64x64", "--at", "30000" });
    ASSERT_EQ(whole.finish(60).status, 0);
    const auto size = std::filesystem::file_size(dir + "/whole/lumaroll-30000.png");
    DemoProcess cut;
    cut.linkData();
    cut.limitFileSize(static_cast<unsigned long>(size) - 1);
    cut.startCapture({ "--out", dir + "/cut", "--size", "64x64", "--at", "30000" });
    const DemoProcess::Result result = cut.finish(60);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find("lumaroll-30000.png': File too large"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/cut/lumaroll-30000.png"));
    EXPECT_EQ(partials(dir + "/cut"), std::vector<std::string> {});
}

// Frames captured after skipped passes are, pixel for pixel, those of a
// capture that draws every pass.
TEST(Capture, FramesAfterSkippedPassesAreThoseOfACaptureThatDrawsEveryPass)
{
    // Scene one's second frame, two frames inside each scene, each scene's
    // first three frames and the run's last.
    const std::array<std::uint32_t, runSceneCount> frames = sceneFrameCounts();
    std::string moments = "16";
    std::uint32_t start = 0;
    for (const std::uint32_t sceneFrames : frames) {
        if (start > 0)
            for (std::uint32_t k = 0; k < 3; ++k)
                moments += "," + std::to_string(start + k * frameMilliseconds);
        moments += "," + std::to_string(start + sceneFrames * frameMilliseconds / 2);
        moments += "," + std::to_string(start + (sceneFrames - 10) * frameMilliseconds);
        start += sceneFrames * frameMilliseconds;
    }
    moments += "," + std::to_string(start);
    std::string folders[2];
    for (const bool drawAll : { false, true }) {
        DemoProcess capture;
        capture.linkData();
        folders[drawAll] = capture.directory() + "-frames";
        std::vector<std::string> arguments { "--at", moments, "--size", "96x72", "--out", folders[drawAll] };
        if (drawAll)
            arguments.push_back("--draw-all");
        capture.startCapture(arguments);
        const DemoProcess::Result result = capture.finish(300);
        ASSERT_EQ(result.status, 0) << result.err;
    }
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(folders[false])) {
        const RgbFrame skipped = loadPng(entry.path().string());
        const RgbFrame drawn = loadPng(folders[true] + "/" + entry.path().filename().string());
        EXPECT_FALSE(skipped.rgb.empty());
        EXPECT_TRUE(skipped.rgb == drawn.rgb) << entry.path().filename();
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(std::count(moments.begin(), moments.end(), ',')) + 1);
    for (const std::string& folder : folders)
        fs::remove_all(folder);
}

// Scene one's cross drawn with the settings' msaa 4, and at twice the size
// filtered down, against the plain capture: each is the same picture away
// from the edges and differs along them, where msaa 4 comes nearer than the
// plain capture to the capture drawn at four times the size.
TEST(Capture, SmoothEdgesChangeTheEdgesTowardsASupersampledFrameAndLeaveTheRest)
{
    const struct {
        const char* settings;
        const char* supersample;
    } ways[] = { { "msaa 0", "1" }, { "msaa 4", "1" }, { "msaa 0", "2" }, { "msaa 0", "4" } };
    std::vector<RgbFrame> frames;
    for (const auto& way : ways) {
        DemoProcess capture;
        capture.linkDataWithSettings(way.settings);
        const std::string folder = capture.directory() + "-frames";
        capture.startCapture(
            { "--at", "20000", "--size", "160x128", "--supersample", way.supersample, "--out", folder });
        const DemoProcess::Result result = capture.finish(120);
        ASSERT_EQ(result.status, 0) << result.err;
        frames.push_back(loadPng(folder + "/lumaroll-20000.png"));
        ASSERT_EQ(frames.back().rgb.size(), frames[0].rgb.size());
        fs::remove_all(folder);
    }
    // Pixels off by more than 8 in a channel, and the sum of all differences.
    const auto compare = [](const RgbFrame& a, const RgbFrame& b) {
        std::size_t differing = 0, total = 0;
        for (std::size_t at = 0; at + 2 < a.rgb.size(); at += 3) {
            int most = 0;
            for (std::size_t c = at; c < at + 3; ++c) {
                const int off = std::abs(int(a.rgb[c]) - int(b.rgb[c]));
                most = std::max(most, off);
                total += static_cast<std::size_t>(off);
            }
            differing += most > 8 ? 1 : 0;
        }
        return std::make_pair(differing, total);
    };
    const std::size_t pixels = frames[0].rgb.size() / 3;
    for (std::size_t way = 1; way < 3; ++way) {
        SCOPED_TRACE(std::string(ways[way].settings) + ", --supersample " + ways[way].supersample);
        const std::size_t differing = compare(frames[0], frames[way]).first;
        EXPECT_GT(differing, pixels / 200) << "of " << pixels;
        EXPECT_LT(differing, pixels / 10) << "of " << pixels;
    }
    EXPECT_LT(compare(frames[1], frames[3]).second, compare(frames[0], frames[3]).second);
}

// Ctrl-C while ffmpeg finishes the file, after the last frame: the capture
// stops it and leaves neither the video nor its partial file.
TEST(Capture, AnInterruptWhileTheVideoIsFinishedLeavesNoFile)
{
    DemoProcess capture;
    capture.linkData();
    // An ffmpeg that takes every frame, starts its file and takes its time.
    capture.writeFile("bin/ffmpeg", "#!/bin/sh\nfor last; do :; done\ncat >/dev/null\n: >\"$last\"\nsleep 30\n");
    fs::permissions(capture.directory() + "/bin/ffmpeg", fs::perms(0755));
    const std::string video = capture.directory() + "/run.mp4";
    capture.startCapture(
        { "--video", video, "--size", "16x16" }, { "PATH=" + capture.directory() + "/bin:/usr/bin:/bin" });
    const std::string all = std::to_string(runFrameCount());
    ASSERT_TRUE(capture.waitForOutput("captured " + all + " of " + all + " frames", 200)) << capture.finish(1).out;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_EQ(partials(capture.directory()).size(), 1u) << "ffmpeg is finishing the file";
    capture.signal(SIGINT);
    const DemoProcess::Result result = capture.finish(10);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 130) << result.err;
    EXPECT_FALSE(fs::exists(video));
    EXPECT_TRUE(partials(capture.directory()).empty());
}
