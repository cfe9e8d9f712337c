#pragma once

#include "course/Settings.h"

#include <array>
#include <cstdint>

// Every settings key, described once: its name in settings files, its
// default, the range a value must lie in, the command-line option that sets
// it and the option's help. The settings' reading, the command line's parser
// and `lumaroll --help` all work from this table; a new key is a new row.
struct SettingKey {
    enum class Kind {
        Switch, // any non-zero value is on; the option turns it on, `offOption` off
        Whole, // a whole number in [low, high], truncated toward zero
    };
    const char* name;
    Kind kind;
    double defaultValue;
    double low, high; // a Whole value outside falls back to the default, with a line
    const char* option; // "" for none
    const char* valueName; // a Whole option's value in the help, like "MS"
    const char* help; // the option's help, lines of at most 56 characters joined by '\n'
    const char* example; // a good value, for a refusal's message
    const char* offOption = ""; // a Switch's option that turns it off
    const char* offHelp = "";
};

namespace SettingKeys {

inline constexpr SettingKey fullscreen { "fullscreen", SettingKey::Kind::Switch, 0, 0, 0, "--fullscreen", "",
    "open a full-screen window", "", "--window", "open a window (the default)" };
// Set with vres by --size WxH.
inline constexpr SettingKey hres { "hres", SettingKey::Kind::Whole, 800, 1, 8192, "--size", "WxH",
    "window size in pixels, like 1280x720 (1 to 8192 a side)", "1280x720" };
inline constexpr SettingKey vres { "vres", SettingKey::Kind::Whole, 640, 1, 8192, "", "", "", "" };
inline constexpr SettingKey seed { "seed", SettingKey::Kind::Whole, 0, -2147483648.0, 2147483647.0, "--seed", "N",
    "seed of the random generator: a seed replays the same demo", "7 or -3" };
inline constexpr SettingKey everyFrame { "everyframe", SettingKey::Kind::Switch, 0, 0, 0, "--every-frame", "",
    "draw every frame however long it takes, instead of keeping\nin step with the music (a slow machine falls behind)",
    "" };
inline constexpr SettingKey audioDelay { "audiodelay", SettingKey::Kind::Whole, 0, -1000, 1000, "--audio-delay", "MS",
    "how much later than reported the sound is heard, -1000 to\n1000 ms (a Bluetooth headset, an HDMI receiver): the\n"
    "pictures wait that long for it; negative, they go ahead",
    "150" };
inline constexpr SettingKey rehearse { "rehearse", SettingKey::Kind::Switch, 0, 0, 0, "--rehearse", "",
    "rehearsal: no wait, and keys act at once on the pictures\nand the music: Space pauses and resumes, Left and "
    "Right\n"
    "go back and on by 63 passes (1.008 s), Page Up and Page\nDown by 625 (10 s), Home goes to the start, '.' steps\n"
    "one pass while paused; the last frame holds until\nEscape; shaders are built again when their files change",
    "" };

// -1, the default, leaves it to the renderer (Multisampling.h).
inline constexpr SettingKey msaa { "msaa", SettingKey::Kind::Whole, -1, -1, 16, "--msaa", "N",
    "smooth edges: samples a pixel, 0 (off) to 16; by default\n(-1) 4 on a graphics card's GL, 0 on a software one\n"
    "(llvmpipe, softpipe, SwiftShader), where they cost time",
    "4" };

// In the order the help lists them.
inline constexpr std::array<const SettingKey*, 8> all { &fullscreen, &hres, &vres, &seed, &everyFrame, &audioDelay,
    &msaa, &rehearse };

// The value the run takes: a Switch is on or off (1 or 0); a Whole value is
// truncated toward zero and, outside its range, replaced by the default
// after one line on standard error.
std::int64_t value(const Settings& settings, const SettingKey& key);
inline bool on(const Settings& settings, const SettingKey& key)
{
    return value(settings, key) != 0;
}

// One line on standard error for each key of `settings` that no row of the
// table names (a typing mistake the run would otherwise pass over without a
// word), with the nearest key the demo reads where one is close.
void sayUnknown(const Settings& settings);

} // namespace SettingKeys
