#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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

// The window's close button is ignored, but Ctrl-C and `kill` end the demo
// through the same tear-down as Escape, with the statuses shells expect.
TEST(DemoRun, InterruptAndTerminateTearDownLikeEscapeDuringTheWaitOrTheLoop)
{
    struct Case {
        int signal;
        bool inLoop;
        int status;
    };
    for (const Case& c : { Case { SIGINT, false, 130 }, Case { SIGTERM, true, 143 } }) {
        SCOPED_TRACE(c.signal);
        DemoProcess demo;
        demo.linkData({"settings.ini"});
        demo.writeFile("data/settings.ini", "hres 160 vres 128\n");
        demo.start();
        ASSERT_FALSE(demo.waitForWindow(30).empty()) << demo.finish(1).err;
        if (c.inLoop)
            ASSERT_TRUE(demo.waitForOutput("FPS: ", 60)) << demo.finish(1).out;
        else // within the start-up, which then waits 5 s
            std::this_thread::sleep_for(std::chrono::seconds(1));
        demo.signal(c.signal);
        const DemoProcess::Result result = demo.finish(20);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out.find("FPS: ") != std::string::npos, c.inLoop) << result.out;
        EXPECT_NE(result.out.find("FrameBuffer '1' deleted\n"), std::string::npos);
        EXPECT_NE(result.out.rfind("GL Texture with id: "), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
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
    // Built in order: the cube mesh's buffers, the cube world's programs and
    // quad buffers, then the frame's objects; torn down frame first, loaded textures last.
    const std::vector<std::string> inOrder { "StaticBuffer (vId: 3 ; iId: 4)\n", "shader compilation './data/shaders/grid.vert'",
        "shader compilation './data/shaders/simple.vert'", "StaticBuffer (vId: 5 ; iId: 6)\n", "FrameBuffer created\n",
        "FPS: ", "GL Texture with id: 7 deleted\n", "deleted created\n", "FrameBuffer '1' deleted\n",
        "GL Texture with id: 6 deleted\n" };
    std::size_t at = 0;
    for (const std::string& line : inOrder) {
        at = result.out.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << result.out;
    }
}
