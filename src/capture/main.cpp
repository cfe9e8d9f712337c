// lumaroll-capture: the demo rendered offline, frame by frame, to PNG files,
// a contact sheet or a video with its soundtrack. The run is the demo's own
// (DemoRun); this front end only chooses the frames and where they go.

#include "capture/CaptureOptions.h"
#include "capture/CaptureSinks.h"
#include "capture/Progress.h"
#include "capture/SupersampledSink.h"
#include "capture/VirtualDisplay.h"
#include "core/DataFiles.h"
#include "core/Quoted.h"
#include "core/StandardStreams.h"
#include "course/RunLength.h"
#include "course/SettingKeys.h"
#include "course/Settings.h"
#include "course/StopSignals.h"
#include "demo/DemoRun.h"
#include "demo/SoundtrackLength.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int badCommandLine = 2;
constexpr int failed = 1;
const Resolution sheetTile { 200, 160 };

// The output asked for, ready to be written; null, after a message, when it
// cannot be.
std::unique_ptr<CaptureSink> openSink(
    const CaptureOptions& options, std::uint32_t frames, const std::vector<bool>& chosen, Progress& progress)
{
    const Resolution size
        = options.size.value_or(options.output == CaptureOptions::Output::Sheet ? sheetTile : Resolution { 0, 0 });
    std::unique_ptr<CaptureSink> sink;
    bool ready = false;
    switch (options.output) {
    case CaptureOptions::Output::Frames: {
        auto pngs = std::make_unique<PngFrames>(options.path, chosen, size, progress);
        ready = pngs->ready();
        sink = std::move(pngs);
        break;
    }
    case CaptureOptions::Output::Sheet: {
        auto sheet = std::make_unique<ContactSheet>(options.path, chosen, size, progress);
        ready = sheet->ready();
        sink = std::move(sheet);
        break;
    }
    case CaptureOptions::Output::Video: {
        auto video = std::make_unique<VideoFile>(options.path, frames, size, progress);
        ready = video->ready();
        sink = std::move(video);
        break;
    }
    }
    if (!ready)
        return nullptr;
    if (options.drawAll)
        sink->drawEveryPass();
    return sink;
}

// The capture's own status for a run that failed with `status`: a stop by
// signal keeps the signal's, a data file missing or broken is 4 as for the
// demo, frames larger than the GL draws are the 2 of a bad command line (the
// size asked is at fault), any other failure is 1.
int failedCaptureStatus(int status)
{
    if (StopSignals::received() != 0)
        return StopSignals::exitStatus(StopSignals::received());
    if (status == frameTooLargeStatus)
        return badCommandLine;
    return status == dataFailedStatus ? dataFailedStatus : failed;
}

} // namespace

int main(int argc, char** argv)
{
    keepStandardStreamsSafe(); // SIGPIPE ignored too: a failing ffmpeg shows as a failed write
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "lumaroll-capture: " << error << "\n(lumaroll-capture --help says more)" << std::endl;
        return badCommandLine;
    }
    if (options.version) {
        std::cout << "lumaroll-capture " << LUMAROLL_VERSION << std::endl;
        return 0;
    }
    const std::uint32_t frames = runFrameCount(); // before the run seeds the sequence the timelines draw from
    if (options.help) {
        const std::filesystem::path folder = options.dataDir.empty() ? "." : options.dataDir;
        std::cout << captureUsage(std::filesystem::absolute((folder / DataFiles::settings).lexically_normal()).string(),
            Settings::userFile(), lastFrameTime(frames));
        return 0;
    }
    // Output paths are the caller's, before the run moves into the data folder.
    options.path = std::filesystem::absolute(options.path).lexically_normal().string();
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0) {
        std::cerr << "Cannot enter the data folder " << quoteForMessage(options.dataDir) << ": " << std::strerror(errno)
                  << std::endl;
        return dataFailedStatus;
    }

    std::vector<bool> chosen;
    if (!chooseFrames(options, frames, chosen, error)) {
        std::cerr << error << std::endl;
        return badCommandLine;
    }
    const auto wanted = static_cast<std::uint32_t>(std::count(chosen.begin(), chosen.end(), true));
    // The video's sound is the soundtrack, cut to the frames: one that stops
    // early would make a video that stops early.
    if (options.output == CaptureOptions::Output::Video)
        if (const std::string why = soundtrackTooShort(DataFiles::music, lastFrameTime(frames)); !why.empty()) {
            std::cerr << why << std::endl;
            return dataFailedStatus;
        }

    // The settings' layers as the demo takes them: the data folder's, then the user's own.
    Settings settings(DataFiles::settings);
    settings.overlay(Settings::optionalFile(Settings::userFile()));
    SettingKeys::sayUnknown(settings);

    Progress progress(frames, wanted);
    const std::unique_ptr<CaptureSink> sink = openSink(options, frames, chosen, progress);
    VirtualDisplay display;
    if (!sink || !display.ensure())
        return failed;

    // Ctrl-C and SIGTERM stay an orderly stop until the output has its name
    // or is gone: ffmpeg may take a while to finish the file.
    const StopSignals stopSignals;
    RunOptions run;
    run.settings = &settings;
    run.waitAtStart = false;
    run.playMusic = false;
    SupersampledSink supersampled(*sink, options.supersample);
    run.frames = options.supersample > 1 ? static_cast<FrameSink*>(&supersampled) : sink.get();
    const auto start = std::chrono::steady_clock::now();
    const int status = runProgram(run);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0 || !sink->finish()) {
        sink->abandon();
        return failedCaptureStatus(status);
    }
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", seconds > 0.0 ? wanted / seconds : 0.0);
    std::cout << "Captured " << wanted << " of " << frames << " frames at " << sink->size().width << "x"
              << sink->size().height << " (" << rate << " frames/s, " << sink->renderer() << ") into " << options.path
              << std::endl;
    return 0;
}
