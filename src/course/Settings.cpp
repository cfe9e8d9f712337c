#include "course/Settings.h"

#include "core/FileKind.h"
#include "core/Quoted.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>

namespace {

// More than any settings file holds: a file that size is not one (a sparse
// gigabyte of NULs), and reading it whole would take the program's memory.
constexpr std::size_t largestSettingsFile = std::size_t { 64 } * 1024;

void saySkipped(const std::string& path, const std::string& kind)
{
    std::cerr << "Settings file '" << path << "' is " << kind << ", not a regular file: not read" << std::endl;
}

// The text of a file read up to the limit: what was cut is said, and the
// word the cut fell in is left out with it.
std::string readUpToTheLimit(const std::string& path, const WholeFile& whole)
{
    if (!whole.cut)
        return whole.text;
    std::cerr << "Settings file '" << path << "' is larger than " << largestSettingsFile / 1024
              << " kB, which no settings file reaches: what follows its first " << largestSettingsFile / 1024
              << " kB was not read" << std::endl;
    const std::size_t lastSpace = whole.text.find_last_of(" \t\r\n\f\v");
    return lastSpace == std::string::npos ? "" : whole.text.substr(0, lastSpace);
}

} // namespace

Settings::Settings(const std::string& filePath)
    : path(filePath)
{
    const WholeFile whole = readWholeFile(path, largestSettingsFile);
    if (!whole.read) {
        std::cerr << "Fail to open the setting file" << std::endl;
        if (!whole.kind.empty())
            saySkipped(path, whole.kind);
        else
            std::cerr << "Settings file '" << path << "' cannot be read: " << whole.reason << std::endl;
        return;
    }
    std::istringstream text(readUpToTheLimit(path, whole));
    read(text);
}

Settings::Settings(std::istream& text, const std::string& name)
    : path(name)
{
    read(text);
}

void Settings::read(std::istream& text)
{
    // Editors on some systems start a UTF-8 file with a byte order mark,
    // which would otherwise stick to the first key.
    if (text.peek() == 0xEF) {
        char mark[3] = {};
        text.read(mark, 3);
        if (std::string(mark, static_cast<std::size_t>(text.gcount())) != "\xEF\xBB\xBF") {
            text.clear();
            text.seekg(0);
        }
    }
    std::string key;
    while (text >> key) {
        // Each value is its own word, read whole as a number: a word that is
        // not a number, or only starts like one, stops the reading there.
        // Kept as a double, which holds every 32-bit seed exactly. Written in
        // digits: some C++ libraries would read "inf" and "nan" too.
        std::string word;
        double value = 0.0;
        const bool read = static_cast<bool>(text >> word);
        std::istringstream number(word);
        const bool digits = word.find_first_not_of("0123456789+-.eE") == std::string::npos;
        if (!read || !digits || !(number >> value) || number.peek() != std::istringstream::traits_type::eof()) {
            const std::string why = text.bad() ? "could not be read"
                : !read                        ? "has no value"
                        : "has the value " + quoteForMessage(word) + ", which is not a number it can read";
            std::cerr << "Settings file '" << path << "': key " << quoteForMessage(key) << " " << why
                      << ", reading stopped there" << std::endl;
            return;
        }
        values[key] = Value { value, path, word };
    }
    if (text.bad())
        std::cerr << "Settings file '" << path << "': a read failed after " << values.size()
                  << " pairs, reading stopped there" << std::endl;
}

float Settings::get(const std::string& key, float defaultValue) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return defaultValue;
    // A double beyond a float's range has no float: converting it would be
    // undefined behaviour.
    const double number = found->second.number;
    if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max())
        return number > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(number);
}

std::int64_t Settings::getWhole(const std::string& key, double defaultValue, double low, double high) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return static_cast<std::int64_t>(defaultValue);
    // Truncated in double first: converting an out-of-range value straight
    // to an integer is undefined behaviour.
    const double truncated = std::trunc(found->second.number);
    if (!std::isfinite(truncated) || truncated < low || truncated > high) {
        // As written: "4294967296", not the "4.29497e+09" a stream prints of it.
        std::ostringstream shown;
        if (found->second.written.empty())
            shown << found->second.number;
        const std::string value
            = found->second.written.empty() ? shown.str() : shortenForMessage(found->second.written);
        std::cerr << "Settings file '" << found->second.from << "': value " << value << " of key '" << key
                  << "' is out of range, using " << defaultValue << std::endl;
        return static_cast<std::int64_t>(defaultValue);
    }
    return static_cast<std::int64_t>(truncated);
}

Settings Settings::optionalFile(const std::string& filePath)
{
    if (filePath.empty())
        return Settings();
    const WholeFile whole = readWholeFile(filePath, largestSettingsFile);
    if (!whole.read) {
        // Not there is the usual case; a folder that may not be entered is not.
        if (!whole.kind.empty())
            saySkipped(filePath, whole.kind);
        else if (!whole.missing)
            std::cerr << "Settings file '" << filePath << "' cannot be reached: " << whole.reason << std::endl;
        return Settings();
    }
    std::istringstream text(readUpToTheLimit(filePath, whole));
    return Settings(text, filePath);
}

std::map<std::string, std::string> Settings::keysRead() const
{
    std::map<std::string, std::string> keys;
    for (const auto& [key, value] : values)
        keys[key] = value.from;
    return keys;
}

void Settings::overlay(const Settings& later)
{
    for (const auto& [key, value] : later.values)
        values[key] = value;
}

void Settings::set(const std::string& key, double value, const std::string& from)
{
    values[key] = Value { value, from, "" };
}
