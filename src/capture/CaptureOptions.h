#pragma once

#include "core/Resolution.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What lumaroll-capture is asked to make. Times are milliseconds of the run,
// counted from the first frame (the start of the music); frame n shows time
// n x 16 ms, and a time between two frames takes the frame before it.
struct CaptureOptions {
    enum class Output { Frames, Sheet, Video };
    Output output = Output::Frames;
    std::string path; // the folder of --out, or the file of --sheet or --video
    std::vector<std::uint32_t> times; // --at, in the order given
    std::optional<std::uint32_t> from, to; // --from / --to, both included
    std::optional<Resolution> size;
    std::string dataDir; // run from here; "" for the current folder
    bool drawAll = false; // every pass drawn, not only the chosen frames
    std::uint32_t supersample = 1; // each frame drawn this many times as wide and high, then filtered down
    bool help = false;
    bool version = false;
};

// Reads the command line; false, with a message for the user, on anything
// it cannot take.
bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error);

// One entry per frame of a run of `frames`, true for those asked for. A time
// between two frames takes the frame before it, the run's last frame
// included; a --to past the end takes the run to its end. False, with a
// message naming the time as it was given, for a time past the last frame's step.
bool chooseFrames(const CaptureOptions& options, std::uint32_t frames, std::vector<bool>& chosen, std::string& error);

// What --help prints, naming the settings files as found here.
std::string captureUsage(const std::string& dataSettings, const std::string& userSettings, std::uint32_t lastFrame);
