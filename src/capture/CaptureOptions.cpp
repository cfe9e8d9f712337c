#include "capture/CaptureOptions.h"

#include "capture/SupersampledSink.h"
#include "course/CommandLine.h"

#include "core/Quoted.h"
#include "course/RunLength.h"
#include "course/SettingKeys.h"

#include <algorithm>
#include <sstream>

namespace {

// The keys a capture takes from the settings.
bool usedByTheCapture(const SettingKey& key)
{
    return &key == &SettingKeys::hres || &key == &SettingKeys::vres || &key == &SettingKeys::seed
        || &key == &SettingKeys::msaa;
}

std::string usedDefaults()
{
    std::string text;
    for (const SettingKey* key : SettingKeys::all)
        if (usedByTheCapture(*key))
            text += (text.empty() ? "" : ", ") + std::string(key->name) + " "
                + std::to_string(static_cast<std::int64_t>(key->defaultValue));
    return text;
}

std::string ignoredKeys()
{
    std::string text;
    for (const SettingKey* key : SettingKeys::all)
        if (!usedByTheCapture(*key))
            text += (text.empty() ? "" : ", ") + std::string(key->name);
    return text;
}

} // namespace

std::string captureUsage(const std::string& dataSettings, const std::string& userSettings, std::uint32_t lastFrame)
{
    return R"(usage: lumaroll-capture OUTPUT [--at MS,MS,... | --from MS --to MS] [--size WxH]
                        [--supersample N] [--data-dir DIR] [--draw-all]

Renders the demo offline, frame by frame: frame n is the picture after n steps
of 16 ms, whatever the machine's speed, drawn off screen at the chosen size.
There is no start-up wait, no pacing and no sound. Without a display it
starts its own virtual X server (Xvfb).

OUTPUT, one of:
  --out DIR          PNG files, lumaroll-MMMMM.png for run time MMMMM ms;
                     every frame unless --at or --from/--to choose some
  --sheet FILE.png   a contact sheet: the chosen frames (24 across the whole
                     run by default) side by side, six to a row, each tile
                     200x160 unless --size says otherwise
  --video FILE.mp4   every frame as an H.264 video (yuv420p, 62.5 frames a
                     second) with the soundtrack from the first frame; needs
                     ffmpeg; odd sizes are rounded down to even ones

  --at MS,MS,...     run times in milliseconds from the first frame; a time
                     between two frames takes the one before (the last frame
                     is at )"
        + std::to_string(lastFrame) + R"()
  --from MS --to MS  every frame from one time to the other, both included; a
                     --to past the end goes to the last frame
  --size WxH         frame size in pixels, 1 to 8192 a side (default: the
                     settings' hres and vres; for --sheet, 200x160)
  --supersample N    draw each frame N times as wide and high, 1 to 4, and
                     filter it down to the size asked: smooth edges for the
                     videos you publish, the rest as drawn at 1 (the
                     default, the live run's picture); it takes N x N times
                     the memory and about as many times the time
  --data-dir DIR     where the demo's data/ folder is (default: here)
  --draw-all         draw every pass, not only the chosen frames: slower, and
                     the frames are the same (a check that skipping is exact)
  --help             this text
  --version          the version

The seed, the default size and msaa (smooth edges: the live window's
picture at the same setting) come from the settings, as for the demo, in
layers, the later winning key by key:
  1. the built-in defaults: )"
        + usedDefaults() + "\n  2. the data folder's " + dataSettings + "\n  3. your own "
        + (userSettings.empty() ? std::string("$XDG_CONFIG_HOME/lumaroll/settings.ini") : userSettings) + R"(
Two captures with the same settings give the same frames. The other keys are
read and ignored ()"
        + ignoredKeys() + R"(): a video's sound is laid
under its frames exactly, whatever delay a listener's output adds.

Exit status: 0 when everything was written, 2 for a bad command line, 4 when
a data file is missing or broken or the --data-dir folder cannot be entered,
1 for anything else that failed (its reason on the console), 130, 143, 129 or
131 when stopped by Ctrl-C, SIGTERM, SIGHUP or SIGQUIT. An interrupted or
failed capture leaves no half-written file under its final name.
)";
}

namespace {

// Whether the options read go together; false, with a message, if not.
bool consistent(const CaptureOptions& options, int outputs, std::string& error)
{
    const bool chosenTimes = !options.times.empty() || options.from || options.to;
    if (outputs != 1)
        error = outputs == 0 ? "say where the capture goes: --out DIR, --sheet FILE.png or --video FILE.mp4"
                             : "give only one of --out, --sheet and --video";
    else if (options.path.empty())
        error = "the output path is empty";
    else if (!options.times.empty() && (options.from || options.to))
        error = "give either --at or --from/--to, not both";
    else if (options.output == CaptureOptions::Output::Video && chosenTimes)
        error = "--video takes every frame; --at, --from and --to are for --out and --sheet";
    else if (options.from && options.to && *options.from > *options.to)
        error = "--from comes after --to";
    else
        return true;
    return false;
}

} // namespace

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error)
{
    int outputs = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--version") {
            options.version = true;
            return true;
        }
        if (name == "--draw-all") {
            options.drawAll = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name.rfind("--", 0) == 0 ? "option " + shortenForMessage(name) + " needs a value"
                                             : "unknown argument " + quoteForMessage(name);
            return false;
        }
        const std::string& value = arguments[++i];
        if (name == "--out" || name == "--sheet" || name == "--video") {
            ++outputs;
            options.output = name == "--out" ? CaptureOptions::Output::Frames
                : name == "--sheet"          ? CaptureOptions::Output::Sheet
                                             : CaptureOptions::Output::Video;
            options.path = value;
        } else if (name == "--at") {
            std::stringstream list(value);
            std::string item;
            while (std::getline(list, item, ',')) {
                std::uint32_t time = 0;
                if (!CommandLine::whole(item, CommandLine::longestRun, time)) {
                    error = "--at takes run times in whole milliseconds, like 2000,15000; not " + quoteForMessage(item);
                    return false;
                }
                options.times.push_back(time);
            }
            if (options.times.empty()) {
                error = "--at needs at least one time";
                return false;
            }
        } else if (name == "--from" || name == "--to") {
            std::uint32_t time = 0;
            if (!CommandLine::whole(value, CommandLine::longestRun, time)) {
                error = name + " takes a run time in whole milliseconds; not " + quoteForMessage(value);
                return false;
            }
            (name == "--from" ? options.from : options.to) = time;
        } else if (name == "--size") {
            Resolution size;
            if (!CommandLine::size(value, size)) {
                error = "--size takes WIDTHxHEIGHT, each 1 to 8192, like 1920x1080; not " + quoteForMessage(value);
                return false;
            }
            options.size = size;
        } else if (name == "--supersample") {
            if (!CommandLine::whole(value, SupersampledSink::largestFactor, options.supersample)
                || options.supersample == 0) {
                error = "--supersample takes 1 to 4, like 2; not " + quoteForMessage(value);
                return false;
            }
        } else if (name == "--data-dir") {
            options.dataDir = value;
        } else {
            error = "unknown option " + quoteForMessage(name);
            return false;
        }
    }
    return consistent(options, outputs, error);
}

bool chooseFrames(const CaptureOptions& options, std::uint32_t frames, std::vector<bool>& chosen, std::string& error)
{
    chosen.assign(frames, false);
    const std::uint32_t lastTime = (frames - 1) * frameMilliseconds;
    auto inRun = [&](std::uint32_t time) {
        if (time / frameMilliseconds < frames)
            return true;
        error = "There is no frame at " + std::to_string(time) + " ms: the run's last frame is at "
            + std::to_string(lastTime) + " ms";
        return false;
    };
    for (std::uint32_t time : options.times) {
        if (!inRun(time))
            return false;
        chosen[time / frameMilliseconds] = true;
    }
    if (!options.times.empty())
        return true;
    if (options.from || options.to) {
        const std::uint32_t from = options.from.value_or(0);
        if (!inRun(from))
            return false;
        const std::uint32_t last = std::min(options.to.value_or(lastTime) / frameMilliseconds, frames - 1);
        for (std::uint32_t frame = from / frameMilliseconds; frame <= last; ++frame)
            chosen[frame] = true;
        return true;
    }
    if (options.output == CaptureOptions::Output::Sheet) {
        // Evenly inside the run: its first and last frames are black, faded out.
        constexpr std::uint32_t sheetFrames = 24;
        for (std::uint32_t k = 1; k <= sheetFrames; ++k)
            chosen[static_cast<std::size_t>((frames - 1) * static_cast<std::uint64_t>(k) / (sheetFrames + 1))] = true;
        return true;
    }
    chosen.assign(frames, true);
    return true;
}
