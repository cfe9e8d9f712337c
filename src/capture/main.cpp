// lumaroll-capture: the demo rendered offline, frame by frame, to PNG files,
// a contact sheet or a video with its soundtrack. The run is the demo's own
// (DemoRun); this front end only chooses the frames and where they go.

#include "capture/CaptureOptions.h"
#include "capture/CaptureSinks.h"
#include "capture/Progress.h"
#include "capture/VirtualDisplay.h"
#include "demo/DemoRun.h"
#include "course/RunLength.h"
#include "course/StopSignals.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int badCommandLine = 2;
constexpr int failed = 1;
constexpr std::uint32_t sheetFrames = 24;
const Resolution sheetTile { 200, 160 };

// One entry per frame of the run, true for those asked for; false, after a
// message, for a time past the run's last frame.
bool chooseFrames(const CaptureOptions& options, std::uint32_t frames, std::vector<bool>& chosen)
{
    chosen.assign(frames, false);
    const std::uint32_t lastTime = (frames - 1) * frameMilliseconds;
    auto mark = [&](std::uint32_t time) {
        if (time > lastTime) {
            std::cerr << "There is no frame at " << time << " ms: the run's last frame is at " << lastTime << " ms"
                      << std::endl;
            return false;
        }
        chosen[time / frameMilliseconds] = true;
        return true;
    };
    for (std::uint32_t time : options.times)
        if (!mark(time))
            return false;
    if (!options.times.empty())
        return true;
    if (options.from || options.to) {
        const std::uint32_t from = options.from.value_or(0);
        const std::uint32_t to = options.to.value_or(lastTime);
        if (!mark(from) || !mark(std::min(to, lastTime + frameMilliseconds - 1)))
            return false;
        for (std::uint32_t frame = from / frameMilliseconds; frame <= to / frameMilliseconds && frame < frames; ++frame)
            chosen[frame] = true;
        return true;
    }
    if (options.output == CaptureOptions::Output::Sheet) {
        // Evenly inside the run: its first and last frames are black, faded out.
        for (std::uint32_t k = 1; k <= sheetFrames; ++k)
            chosen[static_cast<std::size_t>((frames - 1) * static_cast<std::uint64_t>(k) / (sheetFrames + 1))] = true;
        return true;
    }
    chosen.assign(frames, true);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGPIPE, SIG_IGN); // a failing ffmpeg shows as a failed write instead
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "lumaroll-capture: " << error << "\n(lumaroll-capture --help says more)" << std::endl;
        return badCommandLine;
    }
    if (options.help) {
        std::cout << captureUsage();
        return 0;
    }
    // Output paths are the caller's, before the run moves into the data folder.
    options.path = std::filesystem::absolute(options.path).lexically_normal().string();
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0) {
        std::cerr << "Cannot enter the data folder '" << options.dataDir << "'" << std::endl;
        return failed;
    }

    const std::uint32_t frames = runFrameCount();
    std::vector<bool> chosen;
    if (!chooseFrames(options, frames, chosen))
        return badCommandLine;
    std::uint32_t wanted = 0;
    for (bool frame : chosen)
        wanted += frame ? 1u : 0u;

    Progress progress(frames);
    const Resolution size = options.size.value_or(
        options.output == CaptureOptions::Output::Sheet ? sheetTile : Resolution { 0, 0 });
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
    if (options.drawAll)
        sink->drawEveryPass();
    VirtualDisplay display;
    if (!ready || !display.ensure())
        return failed;

    RunOptions run;
    run.waitAtStart = false;
    run.playMusic = false;
    run.frames = sink.get();
    const auto start = std::chrono::steady_clock::now();
    const int status = runProgram(run);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0 || !sink->finish()) {
        sink->abandon();
        // Its own statuses: a stop by signal keeps the signal's, any other
        // failure of the run is 1, never the 2 of a bad command line.
        return StopSignals::received() != 0 ? StopSignals::exitStatus(StopSignals::received()) : failed;
    }
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", seconds > 0.0 ? wanted / seconds : 0.0);
    std::cout << "Captured " << wanted << " of " << frames << " frames at " << sink->size().width << "x"
              << sink->size().height << " (" << rate << " frames/s, " << sink->renderer() << ") into "
              << options.path << std::endl;
    return 0;
}
