#include "capture/CaptureOptions.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// A whole number in [0, limit] and nothing else.
bool number(const std::string& text, unsigned long limit, std::uint32_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    const unsigned long parsed = std::strtoul(text.c_str(), nullptr, 10);
    if (parsed > limit)
        return false;
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

constexpr unsigned long longestRun = 24UL * 3600UL * 1000UL; // a day of run time is more than any run
constexpr unsigned long largestSide = 8192;

} // namespace

std::string captureUsage()
{
    return R"(usage: lumaroll-capture OUTPUT [--at MS,MS,... | --from MS --to MS] [--size WxH] [--data-dir DIR] [--draw-all]

Renders the demo offline, frame by frame: frame n is the picture after n steps
of 16 ms, whatever the machine's speed, drawn off screen at the chosen size.
There is no start-up wait, no frame limiter and no sound; the seed and the
default size come from data/settings.ini as for the demo. Without a display it
starts its own virtual X server (Xvfb).

OUTPUT, one of:
  --out DIR          PNG files, lumaroll-MMMMM.png for run time MMMMM ms;
                     every frame unless --at or --from/--to choose some
  --sheet FILE.png   a contact sheet: the chosen frames (24 across the whole
                     run by default) side by side, six to a row
  --video FILE.mp4   every frame as an H.264 video (yuv420p, 62.5 frames a
                     second) with the soundtrack from the first frame; needs
                     ffmpeg; odd sizes are rounded down to even ones

  --at MS,MS,...     run times in milliseconds from the first frame
  --from MS --to MS  every frame from one time to the other, both included
  --size WxH         frame size in pixels, 1 to 8192 a side (default: the
                     settings' hres and vres)
  --data-dir DIR     where the demo's data/ folder is (default: here)
  --draw-all         draw every pass, not only the chosen frames: slower, and
                     the frames are the same (a check that skipping is exact)
  --help             this text

Exit status: 0 when everything was written, 2 for a bad command line, 1 for
anything else that failed (its reason on the console), 130 or 143 when stopped
by Ctrl-C or SIGTERM. An interrupted or failed capture leaves no half-written
file under its final name.
)";
}

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error)
{
    int outputs = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--draw-all") {
            options.drawAll = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name.rfind("--", 0) == 0 ? "option " + name + " needs a value" : "unknown argument '" + name + "'";
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
                if (!number(item, longestRun, time)) {
                    error = "--at takes run times in whole milliseconds, like 2000,15000; not '" + item + "'";
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
            if (!number(value, longestRun, time)) {
                error = name + " takes a run time in whole milliseconds; not '" + value + "'";
                return false;
            }
            (name == "--from" ? options.from : options.to) = time;
        } else if (name == "--size") {
            const std::size_t x = value.find('x');
            std::uint32_t width = 0, height = 0;
            if (x == std::string::npos || !number(value.substr(0, x), largestSide, width)
                || !number(value.substr(x + 1), largestSide, height) || width == 0 || height == 0) {
                error = "--size takes WIDTHxHEIGHT, each 1 to 8192, like 1920x1080; not '" + value + "'";
                return false;
            }
            options.size = Resolution { width, height };
        } else if (name == "--data-dir") {
            options.dataDir = value;
        } else {
            error = "unknown option '" + name + "'";
            return false;
        }
    }
    if (outputs != 1) {
        error = outputs == 0 ? "say where the capture goes: --out DIR, --sheet FILE.png or --video FILE.mp4"
                             : "give only one of --out, --sheet and --video";
        return false;
    }
    if (options.path.empty()) {
        error = "the output path is empty";
        return false;
    }
    if (!options.times.empty() && (options.from || options.to)) {
        error = "give either --at or --from/--to, not both";
        return false;
    }
    if (options.output == CaptureOptions::Output::Video && (!options.times.empty() || options.from || options.to)) {
        error = "--video takes every frame; --at, --from and --to are for --out and --sheet";
        return false;
    }
    if (options.from && options.to && *options.from > *options.to) {
        error = "--from comes after --to";
        return false;
    }
    return true;
}
