#pragma once

#include "SettingEntries.h"
#include "SettingKeys.h"

#include <QString>

#include <optional>

namespace korval {

// The per-user store of text values addressed by application, section and
// key. Each application has its own INI file, <root>/<application>/<application>.ini,
// where root is the user's configuration folder (~/.config on Linux).
class SettingsStore {
public:
    // The user's own store.
    SettingsStore();
    // A store under another root folder (tests, a temporary home).
    explicit SettingsStore(QString rootFolder);

    static QString defaultRootFolder();
    QString filePath(const QString& application) const;

    // The stored value; a missing key gives the default as decimal text, or
    // the empty text when there is no default. Never fails.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       std::optional<int> defaultValue = std::nullopt) const;

    // One of the program's own settings: as stored, or the empty text when
    // it is not; or as the saver runs with it: the value given for this run,
    // else the stored one, else the saver's default.
    QString stored(const settings::SettingKey& key) const;
    QString storedOrSaverDefault(const settings::SettingKey& key) const;

    // Values for this run only (from the command line), by key name: the
    // saver reads them in place of the stored ones, with the same checks.
    // They are never written and never change what the file holds.
    void setRunOnly(SettingEntries entries) { runOnly_ = std::move(entries); }

    // Stores one value, written through to disk before it returns; a store
    // that cannot be written raises a run-time error and keeps what it held.
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);

    // Stores several values in one write: all of them reach the file, or none.
    void SaveSettings(const QString& application, const QString& section, const SettingEntries& entries);

private:
    QString rootFolder_;
    SettingEntries runOnly_;
};

} // namespace korval
