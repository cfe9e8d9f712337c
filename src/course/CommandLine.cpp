#include "course/CommandLine.h"

#include "core/Quoted.h"

#include <cstdlib>

namespace CommandLine {

bool whole(const std::string& text, unsigned long limit, std::uint32_t& value)
{
    // Ten digits hold any 32-bit number and never overflow unsigned long.
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long parsed = std::strtoul(text.c_str(), nullptr, 10);
    if (parsed > limit)
        return false;
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

bool size(const std::string& text, Resolution& value)
{
    const std::size_t x = text.find('x');
    Resolution parsed;
    if (x == std::string::npos || !whole(text.substr(0, x), largestSide, parsed.width)
        || !whole(text.substr(x + 1), largestSide, parsed.height) || parsed.width == 0 || parsed.height == 0)
        return false;
    value = parsed;
    return true;
}

bool seed(const std::string& text, std::int32_t& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    std::uint32_t magnitude = 0;
    if (!whole(digits, negative ? 2147483648UL : 2147483647UL, magnitude))
        return false;
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                     : static_cast<std::int32_t>(magnitude);
    return true;
}

bool signedWhole(const std::string& text, std::uint32_t limit, std::int32_t& value)
{
    std::int32_t parsed = 0;
    if (!seed(text, parsed) || parsed < -static_cast<std::int64_t>(limit) || parsed > static_cast<std::int64_t>(limit))
        return false;
    value = parsed;
    return true;
}

} // namespace CommandLine

bool parseDemoCommandLine(const std::vector<std::string>& arguments, DemoCommandLine& line, std::string& error)
{
    const std::string from = "the command line";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            line.help = true;
            return true;
        }
        if (name == "--version") {
            line.version = true;
            return true;
        }
        if (name == "--fullscreen" || name == "--window") {
            line.settings.set("fullscreen", name == "--fullscreen" ? 1.0 : 0.0, from);
            continue;
        }
        if (name == "--no-wait" || name == "--mute" || name == "--every-frame") {
            if (name == "--no-wait")
                line.wait = false;
            else if (name == "--mute")
                line.mute = true;
            else
                line.settings.set("everyframe", 1.0, from);
            continue;
        }
        if (name != "--size" && name != "--seed" && name != "--start" && name != "--data-dir"
            && name != "--audio-delay") {
            error = name.rfind("-", 0) == 0 ? "unknown option " + quoteForMessage(name)
                                            : "unexpected argument " + quoteForMessage(name);
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = "option " + shortenForMessage(name) + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (name == "--size") {
            Resolution size;
            if (!CommandLine::size(value, size)) {
                error = "--size takes WIDTHxHEIGHT, each 1 to 8192, like 1280x720; not " + quoteForMessage(value);
                return false;
            }
            line.settings.set("hres", size.width, from);
            line.settings.set("vres", size.height, from);
        } else if (name == "--seed") {
            std::int32_t seed = 0;
            if (!CommandLine::seed(value, seed)) {
                error = "--seed takes a whole number, like 7 or -3; not " + quoteForMessage(value);
                return false;
            }
            line.settings.set("seed", seed, from);
        } else if (name == "--audio-delay") {
            std::int32_t delay = 0;
            if (!CommandLine::signedWhole(value, CommandLine::longestAudioDelay, delay)) {
                error = "--audio-delay takes whole milliseconds from -1000 to 1000, like 150; not "
                    + quoteForMessage(value);
                return false;
            }
            line.settings.set("audiodelay", delay, from);
        } else if (name == "--start") {
            if (!CommandLine::whole(value, CommandLine::longestRun, line.start)) {
                error = "--start takes a run time in whole milliseconds, like 29008; not " + quoteForMessage(value);
                return false;
            }
        } else {
            if (value.empty()) {
                error = "--data-dir needs a folder";
                return false;
            }
            line.dataDir = value;
        }
    }
    return true;
}

std::string demoUsage(const std::string& dataSettings, const std::string& userSettings, std::uint32_t lastFrame)
{
    return "usage: lumaroll [OPTION]...\n"
           "\n"
           "Plays the demo in a window with its music: three scenes of cubes, about 74\n"
           "seconds after a five-second wait. Escape quits, as does Ctrl-C.\n"
           "\n"
           "  --fullscreen      open a full-screen window\n"
           "  --window          open a window (the default)\n"
           "  --size WxH        window size in pixels, like 1280x720 (1 to 8192 a side)\n"
           "  --seed N          seed of the random generator: a seed replays the same demo\n"
           "  --no-wait         start at once, without the wait after the window opens\n"
           "  --start MS        begin at run time MS (milliseconds from the first frame, up\n"
           "                    to the last at "
        + std::to_string(lastFrame)
        + "): the scenes and the music start there\n"
          "  --mute            play without sound\n"
          "  --every-frame     draw every frame however long it takes, instead of keeping\n"
          "                    in step with the music (a slow machine falls behind)\n"
          "  --audio-delay MS  how much later than reported the sound is heard, -1000 to\n"
          "                    1000 ms (a Bluetooth headset, an HDMI receiver): the\n"
          "                    pictures wait that long for it; negative, they go ahead\n"
          "  --data-dir DIR    the folder that holds the demo's data/ folder (default:\n"
          "                    the current folder)\n"
          "  --help            this text\n"
          "  --version         the version\n"
          "\n"
          "Settings come in layers, each later one winning key by key:\n"
          "  1. the built-in defaults: fullscreen 0, hres 800, vres 640, seed 0, everyframe 0,\n"
          "     audiodelay 0\n"
          "  2. the data folder's "
        + dataSettings
        + "\n"
          "  3. your own "
        + (userSettings.empty() ? std::string("$XDG_CONFIG_HOME/lumaroll/settings.ini") : userSettings)
        + "\n"
          "  4. the command line\n"
          "A settings file holds whitespace-separated key and number pairs, like\n"
          "\"hres 1280 vres 720\".\n"
          "\n"
          "Exit status: 0 when the demo ended or Escape was pressed, 1 when the window\n"
          "could not be opened, 2 for a bad command line or an unexpected error, 4 when a\n"
          "data file is missing or broken, 255 when OpenGL could not be set up, 130,\n"
          "143, 129 or 131 when stopped by Ctrl-C, SIGTERM, SIGHUP or SIGQUIT.\n";
}
