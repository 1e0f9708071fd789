#pragma once

#include "SettingEntries.h"
#include "SettingKeys.h"

#include <optional>
#include <string>
#include <string_view>

namespace korval {

// The per-user store of text values addressed by application, section and
// key. A front end supplies where the values live (a file, the registry)
// through read and write; the rules reach them through the operations below.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value; a missing key gives the default as decimal text, or
    // the empty text when there is no default. Never fails.
    std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                           std::optional<int> defaultValue = std::nullopt) const;

    // One of the program's own settings: as stored, or the empty text when
    // it is not; or as the saver runs with it: the value given for this run,
    // else the stored one, else the saver's default.
    std::string stored(const settings::SettingKey& key) const;
    std::string storedOrSaverDefault(const settings::SettingKey& key) const;

    // Values for this run only (from the command line), by key name: the
    // saver reads them in place of the stored ones, with the same checks.
    // They are never written and never change what the store holds.
    void setRunOnly(SettingEntries entries) { runOnly_ = std::move(entries); }

    // Stores one value; a store that cannot be written raises the
    // file-access run-time error and keeps what it held.
    void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                     std::string_view value);

    // Stores several values in one write: all of them, or none.
    void SaveSettings(std::string_view application, std::string_view section, const SettingEntries& entries);

protected:
    // The value as stored, or nothing when the key is missing or cannot be
    // read as text. Never fails.
    virtual std::optional<std::string> read(std::string_view application, std::string_view section,
                                            std::string_view key) const = 0;
    // Writes the entries all together, or raises the file-access error and
    // changes nothing.
    virtual void write(std::string_view application, std::string_view section, const SettingEntries& entries) = 0;

private:
    SettingEntries runOnly_;
};

} // namespace korval
