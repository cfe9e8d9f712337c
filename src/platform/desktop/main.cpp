// Lumaroll: the demo as its users watch it, in a window with its music.
// This front end reads the command line and the settings' layers; the run
// itself, start-up to tear-down, is in DemoRun.cpp.

#include "core/DataFiles.h"
#include "core/Quoted.h"
#include "core/StandardStreams.h"
#include "course/CommandLine.h"
#include "course/RunLength.h"
#include "course/SettingKeys.h"
#include "course/Settings.h"
#include "demo/DemoRun.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int badCommandLine = 2;

} // namespace

int main(int argc, char** argv)
{
    keepStandardStreamsSafe();
    DemoCommandLine line;
    std::string error;
    if (!parseDemoCommandLine(std::vector<std::string>(argv + 1, argv + argc), line, error)) {
        std::cerr << "lumaroll: " << error << " (lumaroll --help says more)" << std::endl;
        return badCommandLine;
    }
    if (line.version) {
        std::cout << "lumaroll " << LUMAROLL_VERSION << std::endl;
        return 0;
    }
    // The run's length plays the scenes' timelines, which draw from the run's
    // random sequence: it comes before the run seeds it.
    const std::uint32_t lastTime = lastFrameTime(runFrameCount());
    if (line.help) {
        // The installed launcher gives the data folder before anything the user types.
        const std::filesystem::path folder = line.dataDir.empty() ? "." : line.dataDir;
        const std::filesystem::path dataSettings = (folder / DataFiles::settings).lexically_normal();
        std::cout << demoUsage(std::filesystem::absolute(dataSettings).string(), Settings::userFile(), lastTime);
        return 0;
    }
    if (line.start > lastTime) {
        std::cerr << "lumaroll: --start takes a run time up to the last frame at " << lastTime << " ms; not "
                  << line.start << " (lumaroll --help says more)" << std::endl;
        return badCommandLine;
    }
    if (!line.dataDir.empty() && chdir(line.dataDir.c_str()) != 0) {
        std::cerr << "Cannot enter the data folder " << quoteForMessage(line.dataDir) << ": " << std::strerror(errno)
                  << std::endl;
        return dataFailedStatus;
    }

    // Each layer wins over the one before it, key by key.
    Settings settings(DataFiles::settings);
    settings.overlay(Settings::optionalFile(Settings::userFile()));
    SettingKeys::sayUnknown(settings);
    settings.overlay(line.settings);

    RunOptions run;
    run.settings = &settings;
    run.waitAtStart = line.wait;
    run.playMusic = !line.mute;
    run.startAt = line.start;
    run.lastFrameAt = lastTime;
    return runProgram(run);
}
