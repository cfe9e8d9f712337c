#include "course/SettingKeys.h"

#include "core/Quoted.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace SettingKeys {

std::int64_t value(const Settings& settings, const SettingKey& key)
{
    if (key.kind == SettingKey::Kind::Switch)
        return settings.get(key.name, static_cast<float>(key.defaultValue)) != 0.0f ? 1 : 0;
    return settings.getWhole(key.name, key.defaultValue, key.low, key.high);
}

namespace {

// How many single-character edits turn one word into the other.
std::size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({ row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u) });
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

void sayUnknown(const Settings& settings)
{
    for (const auto& read : settings.keysRead()) {
        const std::string& key = read.first;
        const std::string& from = read.second;
        if (std::any_of(all.begin(), all.end(), [&key](const SettingKey* known) { return key == known->name; }))
            continue;
        const SettingKey* nearest = nullptr;
        std::size_t distance = 3; // further than two edits is another word
        for (const SettingKey* known : all)
            if (const std::size_t d = editDistance(key, known->name); d < distance) {
                distance = d;
                nearest = known;
            }
        std::cerr << "Settings file '" << from << "': key " << quoteForMessage(key) << " is not one the demo reads"
                  << (nearest != nullptr ? std::string(" (did you mean '") + nearest->name + "'?)" : std::string())
                  << ", ignored" << std::endl;
    }
}

} // namespace SettingKeys
