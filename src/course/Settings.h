#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>

// The demo's options, read once from a text file of whitespace-separated
// key and number pairs. Every value is read as a float is, and kept as a
// double so that a seed keeps all its 32 bits; callers convert.
class Settings {
public:
    // No values: every key gives its default.
    Settings() = default;
    // Reads the file at once, a UTF-8 byte order mark at its start skipped.
    // Never fails: a file that is missing or cannot
    // be read (no permission) prints one line on standard error and leaves
    // the settings empty; one that is not a regular file (a folder, a FIFO
    // that would block the reading) is not opened, and a second line says so. Reading stops at a value that is not a
    // number, a key left without a value at the end, or a read error part-way;
    // the pairs before it stay, and one line names the file and the cause.
    // Only the first 64 kB are read, which no settings file reaches: the rest
    // of a larger file is left, with one line.
    explicit Settings(const std::string& path);
    // The same reading from any stream; `path` only names it in messages.
    Settings(std::istream& text, const std::string& path);
    // A file that may well not exist (the user's own): nothing is said when
    // it does not; one that exists is read and reported on as above, one
    // that is not a regular file gets one line and is not read, and one that
    // cannot be reached (a folder on its way that may not be entered) gets
    // one line with the reason.
    static Settings optionalFile(const std::string& path);

    // The path of the user's own settings file, the platform's: on POSIX
    // $XDG_CONFIG_HOME/lumaroll/settings.ini, or ~/.config/lumaroll/settings.ini
    // when that variable is unset or empty; on Windows
    // %APPDATA%\Lumaroll\settings.ini. Empty when the variables it is
    // made from are not set.
    static std::string userFile();

    // Every key of `later` replaces this one's: the later layer wins.
    void overlay(const Settings& later);
    // A value given elsewhere than in a file, such as on the command line;
    // `from` names it in messages.
    void set(const std::string& key, double value, const std::string& from);

    // The stored value, or defaultValue when the key is absent.
    float get(const std::string& key, float defaultValue) const;

    // The value truncated toward zero; one that is not finite or outside
    // [low, high] falls back to defaultValue, with one line on standard error.
    std::int64_t getWhole(const std::string& key, double defaultValue, double low, double high) const;

    // Every key stored, with what it was read from.
    std::map<std::string, std::string> keysRead() const;

private:
    void read(std::istream& text);

    struct Value {
        double number;
        std::string from; // the file it was read from, for messages
        std::string written; // as the file has it, for messages; "" for a value set
    };
    std::string path;
    std::map<std::string, Value> values;
};
