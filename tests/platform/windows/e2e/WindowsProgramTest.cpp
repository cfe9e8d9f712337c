// The Windows program as its users run it, under Wine: its window against
// the Linux capture of the same moment, its faults, its console and its zip.
#include "../../../e2e/CapturedFrames.h"
#include "../../../e2e/DemoProcess.h"
#include "WineProgram.h"
#include "capture/PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string repositoryFile(const std::string& relative)
{
    std::ifstream file(std::string(LUMAROLL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A Windows program's lines end in CR LF, through a pipe or into a file.
std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

} // namespace

// The whole Windows path (SDL's windib driver, WGL, the swap, GLEW's entry
// points through opengl32) against the Linux capture of the same moment, in
// each scene: the run holds still once the frame is on screen, and the
// window is read from the X server.
TEST(WindowsProgram, TheWindowShowsTheLinuxCapturesFrameOfTheSameMoment)
{
    const std::string settings = "hres 200 vres 160 seed 7\n";
    std::vector<RgbFrame> shown;
    std::vector<long> due;
    for (const long moment : { 4496L, 33008L, 62000L }) {
        DemoProcess demo;
        demo.linkDataWithSettings(settings);
        const std::string log = demo.directory() + "/sync.log";
        startUnderWine(demo, { "--no-wait", "--start", std::to_string(moment - 496) },
            { "LUMAROLL_STOP_AT=" + std::to_string(moment), "LUMAROLL_SYNC_LOG=" + log });
        const std::string window = demo.waitForWindow(90);
        ASSERT_FALSE(window.empty()) << demo.finish(1).err;
        ASSERT_TRUE(waitUntilHeldStill(demo, log, 90)) << "not held at " << moment << "\n" << demo.outputSoFar();
        shown.push_back(grabSteadyWindow(window));
        const std::vector<LoggedFrame> frames = syncLog(log);
        ASSERT_FALSE(frames.empty());
        due.push_back(frames.back().due);
        EXPECT_GE(due.back(), moment);
        // Ctrl-C, as Wine hands SIGINT on to a console program.
        demo.signal(SIGINT);
        EXPECT_EQ(demo.finish(60).status, 130) << demo.outputSoFar();
    }

    const std::vector<RgbFrame> captures = capturedFrames(settings, due);
    for (std::size_t moment = 0; moment < due.size(); ++moment) {
        const RgbFrame& captured = captures[moment];
        ASSERT_FALSE(captured.rgb.empty()) << "no capture of " << due[moment];
        const std::size_t pixels = captured.rgb.size() / 3;
        const std::size_t apart = pixelsApart(shown[moment], captured);
        EXPECT_LE(apart, pixels / 100) << apart << " of " << pixels << " pixels apart at " << due[moment];
        std::cout << "at " << due[moment] << " ms: " << apart << " of " << pixels << " pixels more than 2 % apart"
                  << std::endl;
        if (const char* keep = std::getenv("LUMAROLL_WINDOWS_FRAMES"); keep != nullptr && keep[0] != '\0') {
            savePng(shown[moment], std::string(keep) + "/windows-" + std::to_string(due[moment]) + ".png");
            savePng(captured, std::string(keep) + "/linux-" + std::to_string(due[moment]) + ".png");
        }
    }
}

// What a user can break that means something on Windows: each row ends with
// its status and the line that names the problem, and none hangs.
TEST(WindowsProgram, EachFaultEndsWithItsStatusAndALineThatNamesIt)
{
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
        std::string file; // under data/: removed, or cut to `keep` bytes when keep is not 0
        std::size_t keep;
        int status;
        std::string line;
    };
    const std::string notFound = "\n\n\nMusic not found\n";
    const std::vector<Row> rows = {
        // No sound device: Wine's PulseAudio driver finds no server. The run
        // plays on in silence, to its end.
        { "NoSoundDevice", { "--start", "73500" },
            { "LUMAROLL_AUDIO=", "PULSE_SERVER=unix:/nonexistent/lumaroll/native" }, "", 0, 0,
            "No available audio device (WASAPI: " },
        { "AnOutputWindowsLacks", { "--audio", "pulse" }, {}, "", 0, 2,
            "lumaroll: --audio takes one of wasapi, none, file:PATH; not 'pulse' (lumaroll --help says more)\n" },
        { "AnOutputWindowsLacksInTheEnvironment", { "--start", "73500" }, { "LUMAROLL_AUDIO=alsa" }, "", 0, 0,
            "LUMAROLL_AUDIO is 'alsa', which names no sound output here (wasapi, none, file:PATH)" },
        { "BadCommandLine", { "--size", "0x0" }, {}, "", 0, 2,
            "lumaroll: --size takes WIDTHxHEIGHT, each 1 to 8192, like 1280x720; not '0x0' (lumaroll --help says "
            "more)\n" },
        { "TextureMissing", {}, {}, "textures/fade.png", 0, 4, "Error while loading './data/textures/fade.png'" },
        { "TextureCutShort", {}, {}, "textures/wall.png", 100, 4,
            "Error while loading './data/textures/wall.png' : the file is cut short" },
        { "MusicMissing", {}, {}, "music/vobra.ogg", 0, 4,
            "Cannot open the music 'data/music/vobra.ogg': No such file or directory" + notFound },
        { "MusicCutShort", {}, {}, "music/vobra.ogg", 5000, 4,
            "plays for 0.0 s and the run needs 74.0 s: it is cut short or broken" + notFound },
        { "ShaderMissing", {}, {}, "shaders/glowBlur.frag", 0, 2, "Fail to open './data/shaders/glowBlur.frag': " },
    };
    for (const Row& row : rows) {
        DemoProcess demo;
        demo.linkData({ row.file });
        if (!row.file.empty() && row.keep != 0)
            demo.writeFile("data/" + row.file, repositoryFile("data/" + row.file).substr(0, row.keep));
        std::vector<std::string> arguments { "--no-wait" };
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        startUnderWine(demo, arguments, row.environment);
        const DemoProcess::Result result = demo.finish(120);
        const std::string output = withoutCarriageReturns(result.out + result.err);
        EXPECT_EQ(result.status, row.status) << row.name << "\n" << output;
        EXPECT_NE(output.find(row.line), std::string::npos) << row.name << ": no line '" << row.line << "' in\n"
                                                            << output;
    }
}

// Escape ends the run with status 0; on a console (a pseudo-terminal, which
// Wine's console turns attributes into escapes for) warnings are yellow
// (attribute 14) and errors bright red (12), and through a pipe the text
// goes plain.
TEST(WindowsProgram, EscapeEndsTheRunAndTheLogIsColouredOnAConsoleOnly)
{
    {
        DemoProcess demo;
        demo.linkData();
        startUnderWine(demo, { "--no-wait" });
        const std::string window = demo.waitForWindow(90);
        ASSERT_FALSE(window.empty()) << demo.finish(1).err;
        ASSERT_TRUE(demo.waitForFrames(30, 60)) << demo.outputSoFar();
        demo.pressEscape(window);
        const DemoProcess::Result result = demo.finish(60);
        EXPECT_EQ(result.status, 0) << result.out << result.err;
    }
    // A shader that does not compile: warnings, then the error that ends the run.
    const std::string broken = "void main() { nonsense }\n";
    {
        DemoProcess piped;
        piped.linkData({ "shaders/simple.frag" });
        piped.writeFile("data/shaders/simple.frag", broken);
        startUnderWine(piped, { "--no-wait" });
        const DemoProcess::Result result = piped.finish(120);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("Exception received"), std::string::npos) << result.err;
        EXPECT_EQ((result.out + result.err).find('\x1b'), std::string::npos) << "colours through a pipe";
    }
    DemoProcess console;
    console.linkData({ "shaders/simple.frag" });
    console.writeFile("data/shaders/simple.frag", broken);
    const std::string command
        = std::string("'") + LUMAROLL_SOURCE_DIR + "/scripts/wine-run.sh' '" + windowsProgram() + "' --no-wait";
    console.start({ "-qec", command, "/dev/null" },
        { "LUMAROLL_WINEPREFIX=" + windowsProgramFolder() + "/wineprefix", "NO_COLOR=" }, "/usr/bin/script");
    const DemoProcess::Result result = console.finish(120);
    EXPECT_EQ(result.status, 2) << result.out;
    EXPECT_NE(result.out.find("\x1b[93m"), std::string::npos) << "no yellow warning in\n" << result.out;
    EXPECT_NE(result.out.find("\x1b[91m"), std::string::npos) << "no bright red error in\n" << result.out;
}

// The zip as a user gets it: unpacked alone into an empty folder, it plays
// from another empty folder, its data found beside the program, and the
// program needs no DLL besides the zip's own and Windows'.
TEST(WindowsProgram, TheZipUnpackedAlonePlaysFromAnyFolder)
{
    const std::string zip = windowsProgramFolder() + "/lumaroll-" LUMAROLL_VERSION "-windows-x64.zip";
    ASSERT_TRUE(fs::exists(zip)) << zip << ": scripts/build-windows.sh makes it";
    DemoProcess demo;
    const std::string unpacked = demo.directory() + "/unpacked";
    ASSERT_EQ(std::system(("unzip -q '" + zip + "' -d '" + unpacked + "'").c_str()), 0);
    const std::string folder = unpacked + "/lumaroll-" LUMAROLL_VERSION "-windows-x64";
    std::set<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(folder))
        shipped.insert(entry.path().filename().string());
    EXPECT_EQ(shipped, (std::set<std::string> { "README.txt", "SDL.dll", "data", "lumaroll.exe" }));

    std::istringstream dlls(
        shellOutput("x86_64-w64-mingw32-objdump -p '" + folder + "/lumaroll.exe' | sed -n 's/.*DLL Name: //p'"));
    const std::set<std::string> windows { "KERNEL32.dll", "msvcrt.dll", "ole32.dll", "OPENGL32.dll", "USER32.dll",
        "GDI32.dll", "ADVAPI32.dll" };
    for (std::string dll; dlls >> dll;)
        EXPECT_TRUE(shipped.count(dll) == 1 || windows.count(dll) == 1) << "lumaroll.exe needs " << dll;

    startUnderWine(demo, { "--no-wait", "--start", "73500" }, {}, folder + "/lumaroll.exe");
    const DemoProcess::Result result = demo.finish(120);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Frames: "), std::string::npos) << result.out << result.err;
}

// A rehearsal on Windows: its keys act on the run, and a shader written
// anew on disk is built again at the next frame.
TEST(WindowsProgram, TheRehearsalsKeysActAndAChangedShaderIsBuiltAgain)
{
    DemoProcess demo;
    demo.linkData();
    startUnderWine(demo, { "--rehearse", "--start", "30000" });
    const std::string window = demo.waitForWindow(90);
    ASSERT_FALSE(window.empty()) << demo.finish(1).err;
    ASSERT_TRUE(demo.waitForOutput("Rehearsal: 30.000 s", 60)) << demo.outputSoFar();
    demo.pressKey(window, "space");
    EXPECT_TRUE(demo.waitForOutput(", paused", 30)) << demo.outputSoFar();
    demo.writeFile("data/shaders/postProcess.frag", repositoryFile("data/shaders/postProcess.frag") + "\n");
    EXPECT_TRUE(demo.waitForOutput("postProcess.frag' rebuilt", 30)) << demo.outputSoFar();
    demo.pressEscape(window);
    EXPECT_EQ(demo.finish(60).status, 0) << demo.outputSoFar();
}
