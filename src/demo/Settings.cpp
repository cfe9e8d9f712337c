#include "demo/Settings.h"

#include <cmath>
#include <fstream>
#include <iostream>

Settings::Settings(const std::string& filePath)
    : path(filePath)
{
    std::ifstream file(path);
    if (!file.is_open()) {
        std::cerr << "Fail to open the setting file" << std::endl;
        return;
    }
    std::string key;
    while (file >> key) {
        float value = 0.0f;
        if (!(file >> value)) {
            // Without this stop a failed extraction never reaches the end of
            // the file and the loop would spin forever.
            const char* why = file.eof() ? "has no value" : "has a value that is not a number";
            std::cerr << "Settings file '" << path << "': key '" << key << "' " << why
                      << ", reading stopped there" << std::endl;
            break;
        }
        values[key] = value;
    }
}

float Settings::get(const std::string& key, float defaultValue) const
{
    const auto found = values.find(key);
    return found == values.end() ? defaultValue : found->second;
}

std::uint32_t Settings::getUnsigned(const std::string& key, std::uint32_t defaultValue, bool allowZero) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return defaultValue;
    // Truncate in double first: converting an out-of-range float straight to
    // an unsigned integer is undefined behaviour.
    const double truncated = std::trunc(static_cast<double>(found->second));
    const bool inRange = std::isfinite(truncated) && truncated >= 0.0 && truncated <= 4294967295.0;
    if (!inRange || (!allowZero && truncated == 0.0)) {
        std::cerr << "Settings file '" << path << "': value " << found->second << " of key '" << key
                  << "' is out of range, using " << defaultValue << std::endl;
        return defaultValue;
    }
    return static_cast<std::uint32_t>(truncated);
}
