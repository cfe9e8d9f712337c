#include "course/CommandLine.h"

#include "core/Quoted.h"
#include "course/SettingKeys.h"

#include <algorithm>

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

} // namespace CommandLine

namespace {

// A whole number in [low, high], digits only after an optional minus sign.
bool wholeIn(const std::string& text, double low, double high, std::int64_t& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    std::uint32_t magnitude = 0;
    if (!CommandLine::whole(negative ? text.substr(1) : text, 4294967295UL, magnitude))
        return false;
    const std::int64_t parsed = negative ? -static_cast<std::int64_t>(magnitude) : magnitude;
    if (static_cast<double>(parsed) < low || static_cast<double>(parsed) > high)
        return false;
    value = parsed;
    return true;
}

// Sets the key `key`'s option stands for from `value`; false, with the
// line for the user, when the value is refused.
bool setFrom(const SettingKey& key, const std::string& value, Settings& settings, std::string& error)
{
    const std::string from = "the command line";
    if (&key == &SettingKeys::hres) {
        Resolution size;
        if (!CommandLine::size(value, size)) {
            error = "--size takes WIDTHxHEIGHT, each 1 to 8192, like 1280x720; not " + quoteForMessage(value);
            return false;
        }
        settings.set(SettingKeys::hres.name, size.width, from);
        settings.set(SettingKeys::vres.name, size.height, from);
        return true;
    }
    std::int64_t number = 0;
    if (!wholeIn(value, key.low, key.high, number)) {
        error = std::string(key.option) + " takes a whole number from " + std::to_string(std::int64_t(key.low)) + " to "
            + std::to_string(std::int64_t(key.high)) + ", like " + key.example + "; not " + quoteForMessage(value);
        return false;
    }
    settings.set(key.name, static_cast<double>(number), from);
    return true;
}

// The demo's own options, which set no settings key: name, value, help.
struct PlainOption {
    const char* name;
    const char* valueName;
    const char* help;
};
const PlainOption plainOptions[] = {
    { "--no-wait", "", "start at once, without the wait after the window opens" },
    { "--start", "MS",
        "begin at run time MS (milliseconds from the first frame, up\nto the last at LAST): the scenes and the music "
        "start there" },
    { "--mute", "", "play without sound" },
    { "--audio", "NAME",
        "the sound output: OUTPUTS.\nUnnamed here and in LUMAROLL_AUDIO, those before none\n"
        "are tried in that order; none plays nothing;\nfile:PATH writes the sound into a file (for tests)" },
    { "--data-dir", "DIR", "the folder that holds the demo's data/ folder (default:\nthe current folder)" },
    { "--help", "", "this text" },
    { "--version", "", "the version" },
};

// "  --option VALUE    help", the help's further lines under its first.
std::string usageLine(const std::string& option, const std::string& valueName, const std::string& help)
{
    std::string head = "  " + option + (valueName.empty() ? "" : " " + valueName);
    // A long option takes a line of its own, its help under it.
    head = head.size() < 19 ? head + std::string(20 - head.size(), ' ') : head + "\n" + std::string(20, ' ');
    std::string line = head;
    for (const char c : help)
        line += c == '\n' ? std::string("\n") + std::string(20, ' ') : std::string(1, c);
    return line + "\n";
}

// The items of a ", " list broken into lines: the first at most `width`
// characters, the others indented by `indent` and at most `width` + 28 - `indent`.
std::string wrapped(const std::string& text, std::size_t width, std::size_t indent)
{
    std::string result, line;
    std::size_t limit = width;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t comma = text.find(", ", at);
        const std::string item = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        at = comma == std::string::npos ? text.size() : comma + 2;
        if (!line.empty() && line.size() + 2 + item.size() > limit) {
            result += line + ",\n" + std::string(indent, ' ');
            line.clear();
            limit = width + 28 - indent;
        }
        line += (line.empty() ? "" : ", ") + item;
    }
    return result + line;
}

} // namespace

std::vector<std::string> demoOptionNames()
{
    std::vector<std::string> names;
    for (const SettingKey* key : SettingKeys::all) {
        if (key->option[0] != '\0')
            names.push_back(key->option);
        if (key->offOption[0] != '\0')
            names.push_back(key->offOption);
    }
    for (const PlainOption& option : plainOptions)
        names.push_back(option.name);
    return names;
}

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
        if (name == "--no-wait" || name == "--mute") {
            (name == "--no-wait" ? line.wait : line.mute) = name == "--mute";
            continue;
        }
        const SettingKey* key = nullptr;
        for (const SettingKey* candidate : SettingKeys::all) {
            if (candidate->kind == SettingKey::Kind::Switch
                && (name == candidate->option || name == candidate->offOption))
                line.settings.set(candidate->name, name == candidate->option ? 1.0 : 0.0, from);
            if (name == candidate->option || name == candidate->offOption)
                key = candidate;
        }
        if (key != nullptr && key->kind == SettingKey::Kind::Switch)
            continue;
        if (key == nullptr && name != "--start" && name != "--data-dir" && name != "--audio") {
            error = name.rfind('-', 0) == 0 ? "unknown option " + quoteForMessage(name)
                                            : "unexpected argument " + quoteForMessage(name);
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = "option " + shortenForMessage(name) + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (key != nullptr) {
            if (!setFrom(*key, value, line.settings, error))
                return false;
        } else if (name == "--start") {
            if (!CommandLine::whole(value, CommandLine::longestRun, line.start)) {
                error = "--start takes a run time in whole milliseconds, like 29008; not " + quoteForMessage(value);
                return false;
            }
        } else if (name == "--audio") {
            if (value.empty()) {
                error = "--audio needs the name of a sound output";
                return false;
            }
            line.audio = value;
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

std::string settingDefaults()
{
    std::string text;
    for (const SettingKey* key : SettingKeys::all)
        text += (text.empty() ? "" : ", ") + std::string(key->name) + " "
            + std::to_string(std::int64_t(key->defaultValue));
    return text;
}

std::string demoUsage(const std::string& dataSettings, const std::string& userSettings, std::uint32_t lastFrame,
    const std::vector<std::string>& audioOutputs)
{
    std::string outputs;
    for (const std::string& name : audioOutputs)
        outputs += (outputs.empty() ? "" : ", ") + name;
    std::string options;
    for (const SettingKey* key : SettingKeys::all) {
        if (key->option[0] != '\0')
            options += usageLine(key->option, key->valueName, key->help);
        if (key->offOption[0] != '\0')
            options += usageLine(key->offOption, "", key->offHelp);
    }
    for (const PlainOption& option : plainOptions) {
        std::string help = option.help;
        if (const std::size_t last = help.find("LAST"); last != std::string::npos)
            help.replace(last, 4, std::to_string(lastFrame));
        if (const std::size_t names = help.find("OUTPUTS"); names != std::string::npos)
            help.replace(names, 7, outputs);
        options += usageLine(option.name, option.valueName, help);
    }
    return "usage: lumaroll [OPTION]...\n"
           "\n"
           "Plays the demo in a window with its music: three scenes of cubes, about 74\n"
           "seconds after a five-second wait. Escape quits, as does Ctrl-C.\n"
           "\n"
        + options
        + "\n"
          "Settings come in layers, each later one winning key by key:\n"
          "  1. the built-in defaults: "
        + wrapped(settingDefaults(), 79 - 28, 5)
        + "\n"
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
