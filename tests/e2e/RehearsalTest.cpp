#include "DemoProcess.h"
#include "capture/PngFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// The window once the frame a status line names has had time to reach it.
RgbFrame windowAfter(DemoProcess& demo, const std::string& window, const std::string& status)
{
    EXPECT_TRUE(demo.waitForOutput(status, 30)) << status;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return grabWindow(window);
}

// The window once it shows something else than `before`, after the status
// line: a rebuilt shader is said before the paused frame is drawn again
// with it, which on a busy machine takes longer than a fixed wait.
RgbFrame windowChangedFrom(
    DemoProcess& demo, const std::string& window, const std::string& status, const RgbFrame& before)
{
    EXPECT_TRUE(demo.waitForOutput(status, 30)) << status;
    RgbFrame now = grabWindow(window);
    for (int tries = 0; tries < 100 && valuesApart(now, before) == 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        now = grabWindow(window);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the whole frame, not part of it
    return grabWindow(window);
}

RgbFrame redAndBlueSwapped(RgbFrame frame)
{
    for (std::size_t i = 0; i + 2 < frame.rgb.size(); i += 3)
        std::swap(frame.rgb[i], frame.rgb[i + 2]);
    return frame;
}

} // namespace

// A rehearsal driven by keys: a pause holds the picture; seeks on from the
// start and back across a scene's end show the capture's frames of those
// times (the scenes played afresh from the start, the random generator
// seeded again: the strips at 16992 ms are placed by it); an edit to the
// post-process shader shows in scene two, which draws a lighter build of it,
// as it does in scene one; a post-process shader edited to a syntax error keeps
// the old picture and prints the compiler's log once, and so does one that
// builds but no longer reads what the drawing feeds, with a line naming it;
// fixed, its new picture shows at once, paused as it is.
TEST(Rehearsal, PausesSeeksToTheCapturesFramesAndRebuildsAnEditedShaderInPlace)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 200 vres 160 seed 7\n");
    // Away from the corner where other windows open, and from the live-window
    // test's: the X server keeps no copy of a covered part of a window.
    demo.start(
        { "--rehearse", "--start", "62000", "--data-dir", demo.directory() }, { "SDL_VIDEO_WINDOW_POS=1000,500" });
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    ASSERT_TRUE(demo.waitForOutput("Rehearsal: 62.000 s, scene 3, pass 3875, playing\n", 30)) << demo.finish(1).out;
    demo.pressKey(window, "space");
    const RgbFrame paused = windowAfter(demo, window, ", paused\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(valuesApart(grabWindow(window), paused), 0u) << "the picture moved while paused";

    // Stamped apart, as a keyboard stamps them: xdotool's taps of one key,
    // waiting in SDL's queue together while a frame is slow to draw (a cold
    // shader cache), read as a held key repeating, and a press was lost.
    demo.pressKeys(window, { "Home", "Next", "Next", "Next" }, 50);
    const RgbFrame on = windowAfter(demo, window, "Rehearsal: 30.000 s, scene 2, pass 1875, paused");

    const std::string shader = "data/shaders/postProcess.frag";
    std::ifstream original(std::string(LUMAROLL_SOURCE_DIR) + "/" + shader);
    const std::string source((std::istreambuf_iterator<char>(original)), std::istreambuf_iterator<char>());
    const std::string last = "gl_FragColor = vec4(colour * vignette * level, 1.0);";
    ASSERT_NE(source.find(last), std::string::npos);
    std::string fixed = source;
    fixed.replace(fixed.find(last), last.size(), "gl_FragColor = vec4((colour * vignette * level).bgr, 1.0);");
    // Scene two never over-exposes: its last pass is the lighter build of
    // the same file, and an edit shows there at the next frame all the same.
    demo.writeFile(shader, fixed);
    const RgbFrame editedOn = windowChangedFrom(demo, window, "postProcess.frag' rebuilt\n", on);
    demo.writeFile(shader, source);
    const RgbFrame restoredOn = windowChangedFrom(demo, window, "postProcess.frag' rebuilt\n", editedOn);

    demo.pressKeys(window, { "Prior", "Left", "Left", "Left", "period" }, 50);
    const RgbFrame back = windowAfter(demo, window, "Rehearsal: 16.992 s, scene 1, pass 1062, paused");

    demo.writeFile(shader, source + "not glsl\n");
    const RgbFrame broken = windowAfter(demo, window, "' does not build: the old one stays\n");
    EXPECT_EQ(valuesApart(broken, back), 0u) << "the old program stays";
    // Valid, but reading neither texture nor the resolution: the GL drops
    // them, and the quad would feed what is no longer there.
    std::string flat = source;
    flat.replace(flat.find(last), last.size(), "gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0) * fade;");
    demo.writeFile(shader, flat);
    const RgbFrame lacking = windowAfter(demo, window, "' lacks ");
    EXPECT_EQ(valuesApart(lacking, back), 0u) << "the old program stays";
    // An editor that writes in place empties the file first; one that saves
    // by a move leaves none for a moment: neither is built, nor said.
    demo.writeFile(shader, "");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::remove((demo.directory() + "/" + shader).c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    demo.writeFile(shader, fixed);
    const RgbFrame edited = windowChangedFrom(demo, window, "postProcess.frag' rebuilt\n", broken);
    demo.pressEscape(window);
    const DemoProcess::Result result = demo.finish(20);
    if (HasFailure())
        std::cout << result.out << result.err; // the rehearsal's lines say what it did meanwhile
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(occurrences(result.out + result.err, "syntax error"), 1u) << result.out << result.err;
    EXPECT_EQ(occurrences(result.out + result.err, "does not build"), 1u);
    EXPECT_EQ(
        occurrences(result.out + result.err,
            "' lacks 'texCoord', 'resolution', 'texGlow', 'texScreen', which the drawing feeds: the old one stays\n"),
        1u)
        << result.out << result.err;
    EXPECT_EQ(occurrences(result.out + result.err, "Fail to get"), 0u);
    EXPECT_EQ(occurrences(result.out + result.err, "Fail to open"), 0u) << "a shader file gone for a moment";

    DemoProcess capture;
    capture.linkDataWithSettings("hres 200 vres 160 seed 7\n");
    capture.startCapture({ "--at", "16992,30000", "--out", capture.directory() + "/frames" });
    ASSERT_EQ(capture.finish(60).status, 0);
    const RgbFrame at16992 = loadPng(capture.directory() + "/frames/lumaroll-16992.png");
    const RgbFrame at30000 = loadPng(capture.directory() + "/frames/lumaroll-30000.png");
    EXPECT_EQ(valuesApart(on, at30000), 0u) << "on to 30000 ms";
    EXPECT_EQ(valuesApart(editedOn, redAndBlueSwapped(at30000)), 0u) << "the edited shader in scene two";
    EXPECT_EQ(valuesApart(restoredOn, at30000), 0u) << "the shader as it was";
    EXPECT_EQ(valuesApart(back, at16992), 0u) << "back to 16992 ms";
    EXPECT_EQ(valuesApart(edited, redAndBlueSwapped(at16992)), 0u) << "the edited shader";
    EXPECT_GT(valuesApart(at16992, redAndBlueSwapped(at16992)), at16992.rgb.size() / 8) << "a frame with colour";
}

// A burst of seeks, faster than a frame is drawn at a large size: every press
// counts, in order, however many come while the run replays and draws.
TEST(Rehearsal, EveryKeyOfABurstCountsInOrder)
{
    DemoProcess demo;
    demo.linkDataWithSettings("hres 800 vres 640\n");
    // Below the screen's bottom edge: a window this large would cover the
    // windows other tests read back from the X server meanwhile.
    demo.start({ "--rehearse" }, { "SDL_VIDEO_WINDOW_POS=0,1100" });
    const std::string window = demo.waitForWindow(30);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    ASSERT_TRUE(demo.waitForOutput("Rehearsal: 0.000 s, scene 1, pass 0, playing\n", 30));
    demo.pressKeys(window, { "space", "Home" }, 6);
    ASSERT_TRUE(demo.waitForOutput("pass 0, paused", 30));
    std::vector<std::string> keys;
    for (int i = 0; i < 150; ++i)
        keys.insert(keys.end(), { "Right", "Left" });
    keys.insert(keys.end(), 20, "Right");
    demo.pressKeys(window, keys, 6);
    EXPECT_TRUE(demo.waitForOutput("Rehearsal: 20.160 s, scene 1, pass 1260, paused", 60));
    demo.pressEscape(window);
    const DemoProcess::Result result = demo.finish(20);
    EXPECT_EQ(result.status, 0);
    const std::string lastLine = result.out.substr(result.out.rfind("Rehearsal: "));
    EXPECT_EQ(lastLine.substr(0, lastLine.find(" (")), "Rehearsal: 20.160 s, scene 1, pass 1260, paused") << result.out;
}
