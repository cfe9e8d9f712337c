#pragma once

#include <cstdint>
#include <map>
#include <string>

// The demo's options, read once from a text file of whitespace-separated
// key and number pairs. Every value is kept as a float; callers convert.
class Settings {
public:
    // Reads the file at once. Never fails: a missing file prints one line on
    // standard error and leaves the settings empty. Reading stops at a value
    // that is not a number or a key left without a value at the end; the
    // pairs before it stay, and one line names the file and that key.
    explicit Settings(const std::string& path);

    // The stored value, or defaultValue when the key is absent.
    float get(const std::string& key, float defaultValue) const;

    // The value truncated toward zero to an unsigned 32-bit number. A value
    // that is negative, not finite, too large, or zero when zero is not
    // allowed falls back to defaultValue with one line on standard error.
    std::uint32_t getUnsigned(const std::string& key, std::uint32_t defaultValue, bool allowZero = true) const;

private:
    std::string path;
    std::map<std::string, float> values;
};
