#include "course/SettingKeys.h"

namespace SettingKeys {

std::int64_t value(const Settings& settings, const SettingKey& key)
{
    if (key.kind == SettingKey::Kind::Switch)
        return settings.get(key.name, static_cast<float>(key.defaultValue)) != 0.0f ? 1 : 0;
    return settings.getWhole(key.name, key.defaultValue, key.low, key.high);
}

} // namespace SettingKeys
