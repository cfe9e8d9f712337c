#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// One of the rehearsal's status lines: "Rehearsal: 20.512 s, scene 1, pass 1282, paused".
struct Status {
    long milliseconds = -1, pass = -1;
    std::string state;
};

std::vector<Status> statusLines(const std::string& out)
{
    std::vector<Status> lines;
    std::istringstream text(out);
    for (std::string line; std::getline(text, line);) {
        if (line.rfind("Rehearsal: ", 0) != 0)
            continue;
        Status status;
        unsigned long seconds = 0, thousandths = 0;
        char state[16] = {};
        if (std::sscanf(line.c_str(), "Rehearsal: %lu.%lu s, scene %*u, pass %ld, %15[a-z]", &seconds, &thousandths,
                &status.pass, state)
            == 4) {
            status.milliseconds = static_cast<long>(seconds * 1000 + thousandths);
            status.state = state;
        }
        lines.push_back(status);
    }
    return lines;
}

// Taps `key` `after` ms once the run has printed its `lines`th status line:
// each tap is acted on before the next comes. A release and a press of one
// key that wait in SDL's queue together, stamped alike as xdotool stamps
// them, read as a held key repeating, and the press is lost.
void tapAfterLine(DemoProcess& demo, const std::string& window, const std::string& key, std::size_t lines, int after)
{
    for (int tries = 0; tries < 300 && statusLines(demo.outputSoFar()).size() < lines; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(after));
    demo.pressKey(window, key);
}

} // namespace

// Play resumes where a pause held it, whatever the wall clock and the music
// did meanwhile: paused for a second and a half, then played for 0.3 s, the
// run has moved on by about 0.3 s, not by the pause; and so after a seek back
// made while paused, which leaves the music paused too.
TEST(RehearsalResume, PlayGoesOnFromWhereThePauseHeldItAndFromWhereASeekPutIt)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 160 vres 128\n");
    // As a maker reads the lines, through a pipe or a file: each must come
    // as it is printed, not when a buffer fills.
    demo.outputAsItIs();
    // Below the screen's bottom edge, out of the way of the windows other tests read.
    demo.start({ "--rehearse", "--start", "20000" },
        { "LUMAROLL_AUDIO=file:" + demo.directory() + "/audio.raw", "SDL_VIDEO_WINDOW_POS=0,1100" });
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    ASSERT_TRUE(demo.waitForOutput("Rehearsal: 20.000 s, scene 1, pass 1250, playing\n", 30)) << demo.finish(1).out;
    // Paused 1.5 s, played 0.3 s, paused; back 10 s, paused 1.5 s, played 0.3 s, paused.
    tapAfterLine(demo, window, "space", 1, 0);
    tapAfterLine(demo, window, "space", 2, 1500);
    tapAfterLine(demo, window, "space", 3, 300);
    tapAfterLine(demo, window, "Prior", 4, 0);
    tapAfterLine(demo, window, "space", 5, 1500);
    tapAfterLine(demo, window, "period", 6, 100); // a single step only while paused: nothing
    tapAfterLine(demo, window, "space", 6, 200);
    tapAfterLine(demo, window, "Escape", 7, 0);
    const DemoProcess::Result result = demo.finish(20);
    EXPECT_EQ(result.status, 0);

    const std::vector<Status> lines = statusLines(result.out);
    std::vector<std::string> states;
    for (const Status& line : lines)
        states.push_back(line.state);
    ASSERT_EQ(
        states, (std::vector<std::string> { "playing", "paused", "playing", "paused", "paused", "playing", "paused" }))
        << result.out;
    EXPECT_EQ(lines[2].pass, lines[1].pass) << "resumed at the frame it held";
    EXPECT_GE(lines[3].milliseconds - lines[1].milliseconds, 100) << result.out;
    EXPECT_LE(lines[3].milliseconds - lines[1].milliseconds, 1000) << result.out;
    EXPECT_EQ(lines[4].pass, lines[3].pass - 625) << "Page Up goes back 10 s";
    EXPECT_GE(lines[6].milliseconds - lines[4].milliseconds, 100) << result.out;
    EXPECT_LE(lines[6].milliseconds - lines[4].milliseconds, 1000) << result.out;
}
