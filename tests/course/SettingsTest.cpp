#include "course/Settings.h"
#include "course/CommandLine.h"
#include "course/SettingKeys.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include "support/TemporaryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

namespace {

using SettingsFile = TemporaryFile;

} // namespace

TEST(Settings, ReadsPairsWhateverTheWhitespaceTheLastRepeatWinningAndWholeValuesTruncateTowardZero)
{
    SettingsFile file(
        "fullscreen 1\nhres 640\tvres 768\n\nseed -7.9 hres 1024.9 Fullscreen 0 everyframe -1\n odd 16777217 zero 0 ");
    LogCapture capture;
    const Settings settings(file.path);
    EXPECT_EQ(settings.get("fullscreen", 0.0f), 1.0f) << "keys are case-sensitive";
    EXPECT_EQ(settings.get("vres", 0.0f), 768.0f);
    EXPECT_EQ(settings.get("other", -3.5f), -3.5f);
    EXPECT_EQ(SettingKeys::value(settings, SettingKeys::hres), 1024);
    EXPECT_EQ(SettingKeys::value(settings, SettingKeys::seed), -7); // a negative seed is a seed like any other
    EXPECT_TRUE(SettingKeys::on(settings, SettingKeys::everyFrame)); // any non-zero value is on
    // Every 32-bit value is kept whole: a float would round this one.
    EXPECT_EQ(settings.getWhole("odd", 0, 0, 2147483647.0), 16777217);
    EXPECT_EQ(settings.getWhole("zero", 640, 0, 8192), 0); // zero allowed where it means something
    EXPECT_EQ(capture.err(), "");
}

namespace {

// Gives its text, then fails the next read as a disk error would.
class FailingAfter : public std::streambuf {
public:
    explicit FailingAfter(std::string text)
        : text(std::move(text))
    {
        setg(this->text.data(), this->text.data(), this->text.data() + this->text.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string text;
};

} // namespace

TEST(Settings, UnreadablePathSaysItCannotOpenAndAReadErrorPartWayStopsWithALine)
{
    {
        const std::string folder = std::filesystem::temp_directory_path().string();
        LogCapture capture;
        EXPECT_EQ(Settings(folder).get("hres", 5.0f), 5.0f);
        EXPECT_EQ(capture.err(),
            "Fail to open the setting file\nSettings file '" + folder
                + "' is a folder, not a regular file: not read\n");
    }
    FailingAfter buffer("hres 1024 vres 7");
    std::istream text(&buffer);
    LogCapture capture;
    const Settings settings(text, "disk.ini");
    EXPECT_EQ(settings.get("hres", 0.0f), 1024.0f);
    EXPECT_EQ(settings.get("vres", 0.0f), 0.0f) << "a value cut by the failed read is not kept";
    EXPECT_EQ(capture.err(), "Settings file 'disk.ini': key 'vres' could not be read, reading stopped there\n");
}

// A file far larger than any settings file (a gigabyte of NULs made
// sparse) is read only as far as 64 kB, with one line; the pairs there
// count, and the word the cut falls in does not. The data folder's file and
// the user's own alike.
TEST(Settings, OnlyTheFirst64kBOfAFileAreReadAndTheRestIsSaidToBeLeft)
{
    std::string text = "hres 1024 vres 768\n";
    // The cut falls between "12" and "345".
    text += std::string(64 * 1024 - text.size() - 7, ' ') + "seed 12345";
    const TemporaryFile big(text);
    std::filesystem::resize_file(big.path, 1024ull * 1024 * 1024);
    const std::string said = "Settings file '" + big.path
        + "' is larger than 64 kB, which no settings file reaches: what follows its first 64 kB was not read\n";
    for (const bool optional : { false, true }) {
        LogCapture capture;
        const Settings settings = optional ? Settings::optionalFile(big.path) : Settings(big.path);
        EXPECT_EQ(settings.get("hres", 0.0f), 1024.0f);
        EXPECT_EQ(settings.get("vres", 0.0f), 768.0f);
        EXPECT_EQ(settings.get("seed", -1.0f), -1.0f) << "\"seed 12\" is cut, and not read as 12";
        EXPECT_EQ(
            capture.err(), said + "Settings file '" + big.path + "': key 'seed' has no value, reading stopped there\n")
            << (optional ? "the user's file" : "the data folder's file");
    }
}

// Each broken settings file, as a user may write it, gives the line that
// names the key and the word, and the reading or the value falls back.
TEST(Settings, EachBrokenValueIsNamedOnOneLineWithWhatIsUsedInstead)
{
    struct Row {
        std::string text;
        std::string line; // after "Settings file 'PATH': "
        std::uint32_t hres, vres; // what the run takes
    };
    const std::string unread = "which is not a number it can read, reading stopped there";
    const Row rows[] = {
        { std::string("\x01\x9f\xff hres \x02", 10), "key '\\x01\\x9f\\xff' has the value 'hres', " + unread, 800,
            640 },
        // A terminal's escape sequences are shown, not obeyed.
        { "hres \x1b[2J\x1b[31mRED", "key 'hres' has the value '\\x1b[2J\\x1b[31mRED', " + unread, 800, 640 },
        { "hres 320 vres big vres 700", "key 'vres' has the value 'big', " + unread, 320, 640 },
        { "hres 320 seed", "key 'seed' has no value, reading stopped there", 320, 640 },
        // Values as written: not the "4.29497e+09" a stream prints of a double.
        { "hres 1e30", "value 1e30 of key 'hres' is out of range, using 800", 800, 640 },
        { "seed 4294967296", "value 4294967296 of key 'seed' is out of range, using 0", 800, 640 },
        { "vres -480", "value -480 of key 'vres' is out of range, using 640", 800, 640 },
        { "hres inf", "key 'hres' has the value 'inf', " + unread, 800, 640 },
    };
    for (const Row& row : rows) {
        SettingsFile file(row.text);
        LogCapture capture;
        const Settings settings(file.path);
        EXPECT_EQ(SettingKeys::value(settings, SettingKeys::vres), row.vres) << row.text;
        EXPECT_EQ(SettingKeys::value(settings, SettingKeys::hres), row.hres) << row.text;
        SettingKeys::value(settings, SettingKeys::seed);
        EXPECT_EQ(capture.err(), "Settings file '" + file.path + "': " + row.line + "\n") << row.text;
    }
}

// Missing the user's own file is no problem, and the layers win over each
// other key by key.
TEST(Settings, EachLaterLayerWinsKeyByKey)
{
    SettingsFile data("hres 1024 vres 768 seed 5"), user("vres 600 fullscreen 1");
    LogCapture capture;
    Settings settings(data.path);
    settings.overlay(Settings::optionalFile(user.path));
    settings.overlay(Settings::optionalFile(data.path + ".absent"));
    Settings commandLine;
    commandLine.set("seed", 9.0f, "the command line");
    settings.overlay(commandLine);
    EXPECT_EQ(settings.get("hres", 0.0f), 1024.0f);
    EXPECT_EQ(settings.get("vres", 0.0f), 600.0f);
    EXPECT_EQ(settings.get("fullscreen", 0.0f), 1.0f);
    EXPECT_EQ(settings.get("seed", 0.0f), 9.0f);
    EXPECT_EQ(capture.err(), "") << "a user without a settings file of their own is told nothing";
}

// A typing mistake in a key is named, with the key meant where one is near,
// rather than passed over in silence; a key three edits or more from any is
// named alone.
// A byte order mark, as some editors start a UTF-8 file, is no part of the
// first key.
TEST(Settings, AnUnknownKeyIsNamedWithTheNearestAndAByteOrderMarkIsSkipped)
{
    std::istringstream text("\xEF\xBB\xBFhres 320 hrse 1 fullscren 1 hresxyz 5");
    LogCapture capture;
    const Settings settings(text, "mine.ini");
    EXPECT_EQ(SettingKeys::value(settings, SettingKeys::hres), 320);
    EXPECT_EQ(capture.err(), "");
    SettingKeys::sayUnknown(settings);
    EXPECT_EQ(capture.err(),
        "Settings file 'mine.ini': key 'fullscren' is not one the demo reads (did you mean 'fullscreen'?), ignored\n"
        "Settings file 'mine.ini': key 'hresxyz' is not one the demo reads, ignored\n"
        "Settings file 'mine.ini': key 'hrse' is not one the demo reads (did you mean 'hres'?), ignored\n");
}

// Both ends of every whole key's range are taken, from a settings file and
// from the command line, and one past either end is refused by both.
TEST(Settings, EveryRangeTakesBothEndsAndRefusesOnePastEitherInAFileAndOnTheCommandLine)
{
    struct Range {
        const SettingKey& key;
        std::int64_t low, high, fallback;
        const char* option; // "" where the key has an option of its own shape (--size)
    };
    const Range ranges[] = {
        { SettingKeys::hres, 1, 8192, 800, "" },
        { SettingKeys::vres, 1, 8192, 640, "" },
        { SettingKeys::seed, -2147483648LL, 2147483647LL, 0, "--seed" },
        { SettingKeys::audioDelay, -1000, 1000, 0, "--audio-delay" },
        { SettingKeys::msaa, -1, 16, -1, "--msaa" },
    };
    for (const SettingKey* key : SettingKeys::all) {
        const bool listed
            = std::any_of(std::begin(ranges), std::end(ranges), [key](const Range& r) { return &r.key == key; });
        EXPECT_EQ(listed, key->kind == SettingKey::Kind::Whole) << key->name << " has a range to check here";
    }
    for (const Range& range : ranges) {
        const std::string name = range.key.name;
        for (const std::int64_t value : { range.low - 1, range.low, range.high, range.high + 1 }) {
            const bool inside = value >= range.low && value <= range.high;
            std::istringstream text(name + " " + std::to_string(value));
            LogCapture capture;
            const Settings settings(text, "ends.ini");
            EXPECT_EQ(SettingKeys::value(settings, range.key), inside ? value : range.fallback) << name << " " << value;
            EXPECT_EQ(capture.err().empty(), inside) << name << " " << value;

            if (range.option[0] != '\0') {
                DemoCommandLine line;
                std::string error;
                EXPECT_EQ(parseDemoCommandLine({ range.option, std::to_string(value) }, line, error), inside)
                    << range.option << " " << value;
                if (inside) {
                    EXPECT_EQ(SettingKeys::value(line.settings, range.key), value) << range.option;
                }
            }
        }
    }
    // --size sets two keys from one option: each side's ends.
    for (const auto& [size, taken] : { std::pair { "1x8192", true }, { "8192x1", true }, { "0x8192", false },
             { "8193x1", false }, { "1x0", false }, { "8192x8193", false } }) {
        DemoCommandLine line;
        std::string error;
        EXPECT_EQ(parseDemoCommandLine({ "--size", size }, line, error), taken) << size;
    }
}
