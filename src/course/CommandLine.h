#pragma once

#include "core/Resolution.h"
#include "course/Settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the two programs' command lines have in common: whole numbers and
// sizes, each read whole or refused.
namespace CommandLine {

constexpr unsigned long largestSide = 8192;
constexpr unsigned long longestRun = 24UL * 3600UL * 1000UL; // a day of run time is more than any run

// A whole number in [0, limit], digits only.
bool whole(const std::string& text, unsigned long limit, std::uint32_t& value);
// WIDTHxHEIGHT, each 1 to largestSide.
bool size(const std::string& text, Resolution& value);

} // namespace CommandLine

// What `lumaroll` is asked on its command line.
struct DemoCommandLine {
    bool help = false;
    bool version = false;
    Settings settings; // the keys the command line sets, the last settings layer
    bool wait = true; // the five-second wait after the window opens
    bool mute = false;
    std::uint32_t start = 0; // run time to begin at, in ms
    std::string dataDir; // where data/ is; "" for the current folder
    std::string audio; // the sound output --audio names; "" for none named
};

// Reads the command line; false, with one line for the user in `error`, on
// anything it cannot take. A later option wins over an earlier one.
bool parseDemoCommandLine(const std::vector<std::string>& arguments, DemoCommandLine& line, std::string& error);

// Every option `lumaroll` takes, for a check that its documents name them all.
std::vector<std::string> demoOptionNames();

// "fullscreen 0, hres 800, ...": every settings key with its default.
std::string settingDefaults();

// What `lumaroll --help` prints, naming the settings files as found here.
// `lastFrame` is the run time of the run's last frame, in ms; `audioOutputs`
// the sound outputs --audio takes, in the order they are tried.
std::string demoUsage(const std::string& dataSettings, const std::string& userSettings, std::uint32_t lastFrame,
    const std::vector<std::string>& audioOutputs);
