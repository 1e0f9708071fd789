#include "SettingsStore.h"

#include "core/runtime/NumberConversions.h"

namespace korval {

std::string SettingsStore::GetSetting(std::string_view application, std::string_view section, std::string_view key,
                                      std::optional<int> defaultValue) const
{
    if (std::optional<std::string> value = read(application, section, key))
        return std::move(*value);
    return defaultValue ? wholeToText(*defaultValue) : std::string();
}

std::string SettingsStore::stored(const settings::SettingKey& key) const
{
    return GetSetting(settings::kApplication, settings::kSection, key.name);
}

std::string SettingsStore::storedOrSaverDefault(const settings::SettingKey& key) const
{
    for (const auto& [name, value] : runOnly_) {
        if (name == key.name)
            return value;
    }
    return GetSetting(settings::kApplication, settings::kSection, key.name, key.saverDefault);
}

void SettingsStore::SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                                std::string_view value)
{
    SaveSettings(application, section, {{std::string(key), std::string(value)}});
}

void SettingsStore::SaveSettings(std::string_view application, std::string_view section,
                                 const SettingEntries& entries)
{
    write(application, section, entries);
}

} // namespace korval
