#include "platform/native/demo/DemoMain.h"

#include "core/DataFiles.h"
#include "core/ProgramFolder.h"
#include "core/Quoted.h"
#include "course/CommandLine.h"
#include "course/RunLength.h"
#include "course/SettingKeys.h"
#include "course/Settings.h"
#include "demo/AudioSystem.h"
#include "demo/DemoRun.h"

#include <filesystem>
#include <iostream>

namespace {

constexpr int badCommandLine = 2;

int refuse(const std::string& line)
{
    std::cerr << "lumaroll: " << line << " (lumaroll --help says more)" << std::endl;
    return badCommandLine;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The folder that holds data/, as the run will look for it.
std::filesystem::path dataFolder(const std::string& named)
{
    namespace fs = std::filesystem;
    if (!named.empty())
        return named;
    std::error_code error;
    if (fs::is_directory("data", error))
        return ".";
    const std::string own = programFolder();
    if (!own.empty() && fs::is_directory(fs::path(own) / "data", error))
        return own;
    return ".";
}

} // namespace

int demoMain(const std::vector<std::string>& arguments)
{
    DemoCommandLine line;
    std::string error;
    if (!parseDemoCommandLine(arguments, line, error))
        return refuse(error);
    if (line.version) {
        std::cout << "lumaroll " << LUMAROLL_VERSION << std::endl;
        return 0;
    }
    // The run's length plays the scenes' timelines, which draw from the run's
    // random sequence: it comes before the run seeds it.
    const std::uint32_t lastTime = lastFrameTime(runFrameCount());
    const std::filesystem::path folder = dataFolder(line.dataDir);
    if (line.help) {
        const std::filesystem::path dataSettings = (folder / DataFiles::settings).lexically_normal();
        std::cout << demoUsage(std::filesystem::absolute(dataSettings).string(), Settings::userFile(), lastTime,
            AudioSystem::outputNames());
        return 0;
    }
    if (line.start > lastTime)
        return refuse("--start takes a run time up to the last frame at " + std::to_string(lastTime) + " ms; not "
            + std::to_string(line.start));
    if (!line.audio.empty() && !AudioSystem::offersOutput(line.audio))
        return refuse(
            "--audio takes one of " + joined(AudioSystem::outputNames()) + "; not " + quoteForMessage(line.audio));
    std::error_code entered;
    if (folder != ".")
        std::filesystem::current_path(folder, entered);
    if (entered) {
        std::cerr << "Cannot enter the data folder " << quoteForMessage(folder.string()) << ": " << entered.message()
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
    run.audioOutput = line.audio;
    run.startAt = line.start;
    run.lastFrameAt = lastTime;
    return runProgram(run);
}
