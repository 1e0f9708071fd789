#pragma once

#include "core/runtime/RuntimeError.h"
#include "core/settings/SettingsStore.h"

#include <map>
#include <string>
#include <tuple>

namespace korval::testing {

// A settings store in memory: what a test puts in it is what the rules read,
// and a test can make every write fail, as a read-only store does.
class MemoryStore final : public SettingsStore {
public:
    void put(const settings::SettingKey& key, std::string value)
    {
        values_[{std::string(settings::kApplication), std::string(settings::kSection), std::string(key.name)}] =
            std::move(value);
    }
    std::optional<std::string> value(const settings::SettingKey& key) const
    {
        return read(settings::kApplication, settings::kSection, key.name);
    }

    bool failWrites = false;
    int writes = 0;

protected:
    std::optional<std::string> read(std::string_view application, std::string_view section,
                                    std::string_view key) const override
    {
        const auto found = values_.find({std::string(application), std::string(section), std::string(key)});
        if (found == values_.end())
            return std::nullopt;
        return found->second;
    }
    void write(std::string_view application, std::string_view section, const SettingEntries& entries) override
    {
        if (failWrites)
            throw RuntimeError::fileAccess("the store is read-only");
        ++writes;
        for (const auto& [key, value] : entries)
            values_[{std::string(application), std::string(section), key}] = value;
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

} // namespace korval::testing
