#include "course/CommandLine.h"
#include "course/SettingKeys.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Each option lands where the run reads it, a later one winning; each bad
// value is refused with a line that names the option and the value.
TEST(DemoCommandLine, OptionsSetTheirKeysAndBadValuesAreRefusedByName)
{
    DemoCommandLine line;
    std::string error;
    ASSERT_TRUE(parseDemoCommandLine(
        { "--fullscreen", "--window", "--size", "1280x720", "--seed", "-2147483648", "--no-wait", "--start", "29008",
            "--mute", "--every-frame", "--data-dir", "/opt/lumaroll", "--audio-delay", "-1000", "--audio", "alsa" },
        line, error))
        << error;
    EXPECT_EQ(line.settings.get("fullscreen", -1.0f), 0.0f) << "the later of --fullscreen and --window wins";
    EXPECT_EQ(line.settings.get("hres", 0.0f), 1280.0f);
    EXPECT_EQ(line.settings.get("vres", 0.0f), 720.0f);
    EXPECT_EQ(line.settings.get("everyframe", 0.0f), 1.0f);
    EXPECT_FALSE(line.wait);
    EXPECT_TRUE(line.mute);
    EXPECT_EQ(line.start, 29008u);
    EXPECT_EQ(line.dataDir, "/opt/lumaroll");
    EXPECT_EQ(line.audio, "alsa") << "which outputs there are, the platform's front end says";

    const std::string seed = "--seed takes a whole number from -2147483648 to 2147483647, like 7 or -3; not '";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        { { "--size", "1280x0" }, "--size takes WIDTHxHEIGHT, each 1 to 8192, like 1280x720; not '1280x0'" },
        { { "--seed", "2147483648" }, seed + "2147483648'" },
        { { "--start", "-16" }, "--start takes a run time in whole milliseconds, like 29008; not '-16'" },
        { { "--start" }, "option --start needs a value" },
        { { "--audio", "" }, "--audio needs the name of a sound output" },
        { { "--audio-delay", "1001" }, "--audio-delay takes a whole number from -1000 to 1000, like 150; not '1001'" },
        { { "--fulscreen" }, "unknown option '--fulscreen'" },
        // Long arguments are echoed cut to 200 bytes, between UTF-8 characters.
        { { "--seed", std::string(100000, '7') }, seed + std::string(200, '7') + "…'" },
        { { "--" + std::string(197, 'e') + "é and more" }, "unknown option '--" + std::string(197, 'e') + "…'" },
        // Control characters shown, not acted on by a terminal or cutting a C string.
        { { "--seed", std::string("\x1b[2J\0x\x7f", 7) }, seed + "\\x1b[2J\\x00x\\x7f'" },
        { { "play" }, "unexpected argument 'play'" },
    };
    for (const auto& [arguments, expected] : refused) {
        DemoCommandLine bad;
        EXPECT_FALSE(parseDemoCommandLine(arguments, bad, error)) << arguments.front();
        EXPECT_EQ(error, expected);
    }
}

// The README and the manual page are written by hand: each names every
// settings key and every option, and shows each key's default.
TEST(DemoCommandLine, TheReadmeAndTheManualPageNameEveryKeyAndOption)
{
    for (const char* path : { "README.md", "packaging/lumaroll.6" }) {
        std::ifstream file(path);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(text.empty()) << path;
        // The manual page writes each '-' of an option as "\-".
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '-'))
                plain += text[i];
        for (const SettingKey* key : SettingKeys::all)
            EXPECT_NE(plain.find(key->name), std::string::npos) << path << " does not name " << key->name;
        // Whole: --audio is not named by --audio-delay.
        for (const std::string& option : demoOptionNames()) {
            bool named = false;
            for (std::size_t at = plain.find(option); at != std::string::npos && !named;
                 at = plain.find(option, at + 1)) {
                const char after = at + option.size() < plain.size() ? plain[at + option.size()] : ' ';
                named = after != '-' && !std::isalnum(static_cast<unsigned char>(after));
            }
            EXPECT_TRUE(named) << path << " does not name " << option;
        }
    }
}
